#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "text/profile.h"

using namespace qor::text;

TEST(ProfileFile, MissingFileSectionOrKeyGivesDefault) {
    auto missing = ProfileFile::load("/nonexistent/httpset.ini");
    EXPECT_EQ(missing.readString("set", "host", "127.0.0.1"), "127.0.0.1");
    auto f = ProfileFile::parse("[other]\nhost=x\n[set]\nport=8080\n");
    EXPECT_EQ(f.readString("set", "host", "127.0.0.1"), "127.0.0.1");
    EXPECT_EQ(f.readString("set", "port", "80"), "8080");
}

TEST(ProfileFile, NamesIgnoreCaseValuesAreTrimmedAndUnquoted) {
    auto f = ProfileFile::parse("[SET]\r\n  HOST =  10.0.0.5  \r\nuser_name=\"abc\"\r\npassword='p w'\r\ndriver=\"x'\r\n");
    EXPECT_EQ(f.readString("set", "host", ""), "10.0.0.5");
    EXPECT_EQ(f.readString("Set", "USER_NAME", ""), "abc");
    EXPECT_EQ(f.readString("set", "password", ""), "p w");
    EXPECT_EQ(f.readString("set", "driver", ""), "\"x'");  // unmatched quotes stay
}

TEST(ProfileFile, PresentEmptyKeyGivesEmptyText) {
    auto f = ProfileFile::parse("[set]\nhost=\n");
    EXPECT_EQ(f.readString("set", "host", "127.0.0.1"), "");
}

TEST(ProfileFile, LongValueIsCutTo2047Characters) {
    auto f = ProfileFile::parse("[set]\nhost=" + std::string(3000, 'h') + "\n");
    EXPECT_EQ(f.readString("set", "host", "").size(), 2047u);
}

TEST(ProfileFile, CutNeverLeavesHalfACharacter) {
    // 2046 bytes, then a double-byte character across the cut: it goes whole.
    const std::string big5Pair = "\xA4\xA4";
    auto f = ProfileFile::parse("[set]\nhost=" + std::string(2046, 'h') + big5Pair + "x\n");
    EXPECT_EQ(f.readString("set", "host", ""), std::string(2046, 'h'));
}

TEST(ProfileFile, LoadsFromDisk) {
    auto path = std::filesystem::temp_directory_path() / "qor_profile_test.ini";
    std::ofstream(path) << "[set]\nport=81\n";
    EXPECT_EQ(ProfileFile::load(path.string()).readString("set", "port", "80"), "81");
    std::filesystem::remove(path);
}

TEST(DefinitionFile, SectionsKeysAndComments) {
    auto f = DefinitionFile::parse(
        "DriverName=ignored\n"
        "; comment\n"
        "[ Tendro ]\n"
        "  DriverName = Interbase  \n"
        "Database=/data/POSDATA.FDB\n"
        "no equals sign\n"
        "\n"
        "[Interbase]\nLibraryName=libdbxfb.so\n");
    EXPECT_TRUE(f.hasSection("tendro"));
    EXPECT_FALSE(f.hasSection("other"));
    auto lines = f.section("TENDRO");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].first, "DriverName");
    EXPECT_EQ(lines[0].second, "Interbase");
    EXPECT_EQ(f.value("tendro", "DATABASE"), "/data/POSDATA.FDB");
    EXPECT_EQ(f.value("interbase", "LibraryName"), "libdbxfb.so");
    EXPECT_EQ(f.value("tendro", "missing"), "");
    EXPECT_TRUE(f.section("nothing").empty());
}

TEST(DefinitionFile, MissingFileIsNoFile) {
    EXPECT_FALSE(DefinitionFile::load("/nonexistent/dbxconnections.ini").has_value());
}
