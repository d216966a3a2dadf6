#pragma once
// Readers for the two kinds of INI text files the program takes settings from.
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qor::text {

// Settings file read by the usual profile-file rules (httpset.ini): section and key names
// match without regard to case; a value is the text after "=" without surrounding blanks and
// loses one pair of enclosing quotes; it is cut to its first 2047 bytes, never to half a
// double-byte character; a missing file, section or key gives the default; a key present with
// nothing after "=" gives empty text.
class ProfileFile {
public:
    static ProfileFile load(const std::string& path);   // a missing file reads as empty
    static ProfileFile parse(const std::string& content);
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;

private:
    // upper-cased section -> upper-cased key -> value (first occurrence wins)
    std::map<std::string, std::map<std::string, std::string>> values_;
};

// Definition file (dbxconnections.ini, dbxdrivers.ini): each line without surrounding blanks;
// empty lines and lines starting with ";" ignored; "[name]" opens a section (name trimmed,
// matched without regard to case); "key=value" inside a section, both trimmed; lines before
// the first section ignored.
class DefinitionFile {
public:
    using Lines = std::vector<std::pair<std::string, std::string>>;

    static std::optional<DefinitionFile> load(const std::string& path);  // nullopt: no file
    static DefinitionFile parse(const std::string& content);

    bool hasSection(const std::string& section) const;
    // The section's key/value lines in file order; empty when there is no such section.
    Lines section(const std::string& section) const;
    // A key's value in a section (keys without regard to case); empty when absent.
    std::string value(const std::string& section, const std::string& key) const;

private:
    std::vector<std::pair<std::string, Lines>> sections_;
    const Lines* find(const std::string& section) const;
};

}  // namespace qor::text
