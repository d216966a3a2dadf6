// Reading typed values: every column kind, text byte for byte, fixed-length text, blobs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fbdriver_plugin.h"

using namespace qor;
using namespace qor::fbtest;

namespace {

const char* kKindsTable = R"(
CREATE TABLE KINDS (
    ID  INTEGER NOT NULL PRIMARY KEY,
    C   CHAR(6),
    V   VARCHAR(12),
    S   SMALLINT,
    I   INTEGER,
    B   BIGINT,
    F   FLOAT,
    D   DOUBLE PRECISION,
    N   NUMERIC(9,2),
    DE  DECIMAL(18,4),
    BO  BOOLEAN,
    DT  DATE,
    TM  TIME,
    TS  TIMESTAMP,
    MEMO BLOB SUB_TYPE TEXT,
    BIN  BLOB SUB_TYPE BINARY
);
INSERT INTO KINDS VALUES (1, 'ab', 'text', -7, 2000000000, 9000000000000, 1.5, 2.25, 123.45,
    -0.0001, TRUE, '2024-02-29', '13:45:07.250', '1999-12-31 23:59:58', 'memo text', x'00FF10');
INSERT INTO KINDS (ID) VALUES (2);
)";

// Code page 950 bytes whose second byte is "\" (0x5C) or "|" (0x7C): 功 許 尐 and 商品.
const std::string kBig5 = "\xA5\x5C\xB3\x5C\xA4\x7C\xB0\xD3\xAB\x7E";

class FbDriverValues : public ::testing::Test {
protected:
    test::TempDatabase db_{kKindsTable};
};

TEST_F(FbDriverValues, ColumnsCarryKindsSizesAndScales) {
    auto connection = connectTo(db_.path());
    auto cursor = connection->query("SELECT * FROM KINDS", {});
    const auto& columns = cursor->columns();
    ASSERT_EQ(columns.size(), 16u);
    using K = ds::FieldKind;
    const std::vector<std::pair<std::string, K>> expected = {
        {"ID", K::Integer}, {"C", K::String},    {"V", K::String},     {"S", K::SmallInt},
        {"I", K::Integer},  {"B", K::LargeInt},  {"F", K::Float},      {"D", K::Float},
        {"N", K::BCD},      {"DE", K::BCD},      {"BO", K::Boolean},   {"DT", K::Date},
        {"TM", K::Time},    {"TS", K::DateTime}, {"MEMO", K::Memo},    {"BIN", K::Binary}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(columns[i].name, expected[i].first);
        EXPECT_EQ(columns[i].kind, expected[i].second) << columns[i].name;
    }
    EXPECT_EQ(columns[1].size, 6);
    EXPECT_EQ(columns[2].size, 12);
    EXPECT_EQ(columns[8].decimals, 2);
    EXPECT_EQ(columns[9].decimals, 4);
    EXPECT_EQ(columns[3].size, 0);
}

TEST_F(FbDriverValues, ValuesOfEveryKind) {
    auto connection = connectTo(db_.path());
    auto rows = readAll(*connection, "SELECT * FROM KINDS WHERE ID = 1");
    ASSERT_EQ(rows.size(), 1u);
    const ds::Row& r = rows[0];
    EXPECT_EQ(r[1], ds::Value(std::string("ab    ")));
    EXPECT_EQ(r[2], ds::Value(std::string("text")));
    EXPECT_EQ(r[3], ds::Value(std::int64_t{-7}));
    EXPECT_EQ(r[4], ds::Value(std::int64_t{2000000000}));
    EXPECT_EQ(r[5], ds::Value(std::int64_t{9000000000000}));
    EXPECT_EQ(r[6], ds::Value(1.5));
    EXPECT_EQ(r[7], ds::Value(2.25));
    EXPECT_EQ(r[8], ds::Value(123.45));
    EXPECT_EQ(r[9], ds::Value(-0.0001));
    EXPECT_EQ(r[10], ds::Value(true));
    EXPECT_EQ(r[11], ds::Value(ds::Date{2024, 2, 29}));
    EXPECT_EQ(r[12], ds::Value(ds::Time{13, 45, 7, 250}));
    EXPECT_EQ(r[13], ds::Value(ds::DateTime{{1999, 12, 31}, {23, 59, 58, 0}}));
    EXPECT_EQ(r[14], ds::Value(std::string("memo text")));
    EXPECT_EQ(r[15], ds::Value(std::string("\x00\xFF\x10", 3)));
}

TEST_F(FbDriverValues, NullsOfEveryKindStayNull) {
    auto connection = connectTo(db_.path());
    auto rows = readAll(*connection, "SELECT * FROM KINDS WHERE ID = 2");
    ASSERT_EQ(rows.size(), 1u);
    for (size_t i = 1; i < rows[0].size(); ++i) EXPECT_TRUE(ds::isNull(rows[0][i])) << "column " << i;
}

TEST_F(FbDriverValues, ColumnsAreNamedAsTheDatabaseReportsThem) {
    auto connection = connectTo(db_.path());
    auto cursor = connection->query("SELECT V AS VALUE_TEXT, I + 1, k.S FROM KINDS k", {});
    ASSERT_EQ(cursor->columns().size(), 3u);
    EXPECT_EQ(cursor->columns()[0].name, "VALUE_TEXT");
    EXPECT_EQ(cursor->columns()[1].name, "ADD");
    EXPECT_EQ(cursor->columns()[2].name, "S");
}

TEST_F(FbDriverValues, Big5TextComesBackByteForByte) {
    auto connection = connectTo(db_.path());
    // Through a parameter...
    connection->execute("INSERT INTO KINDS (ID, V, MEMO) VALUES (?, ?, ?)",
                        {std::int64_t{10}, kBig5, kBig5 + kBig5});
    // ...and as a literal inside the statement text.
    connection->execute("INSERT INTO KINDS (ID, V) VALUES (11, '" + kBig5 + "')", {});
    auto rows = readAll(*connection, "SELECT V, MEMO FROM KINDS WHERE ID IN (10, 11) ORDER BY ID");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::get<std::string>(rows[0][0]), kBig5);
    EXPECT_EQ(std::get<std::string>(rows[0][1]), kBig5 + kBig5);
    EXPECT_EQ(std::get<std::string>(rows[1][0]), kBig5);
    // A literal with such bytes finds the row as well.
    auto found = readAll(*connection, "SELECT ID FROM KINDS WHERE V = '" + kBig5 + "' ORDER BY ID");
    EXPECT_EQ(found.size(), 2u);
}

TEST_F(FbDriverValues, TextLongerThanItsColumnIsRefusedWithFirebirdsText) {
    auto connection = connectTo(db_.path());
    std::string error = failureOf(
        [&] { connection->execute("INSERT INTO KINDS (ID, V) VALUES (?, ?)", {std::int64_t{12}, kBig5 + "abc"}); });
    EXPECT_THAT(error, ::testing::HasSubstr("truncation"));
    EXPECT_EQ(readAll(*connection, "SELECT ID FROM KINDS WHERE ID = 12").size(), 0u);
}

TEST_F(FbDriverValues, FixedLengthTextKeepsItsBlanksUnlessTrimCharIsOn) {
    db_.runSql("INSERT INTO KINDS (ID, C, V) VALUES (3, 'xy', 'pad  ');");
    auto keeping = connectTo(db_.path(), {{"Trim Char", "False"}});
    auto trimming = connectTo(db_.path(), {{"Trim Char", " true "}});
    const std::string sql = "SELECT C, V FROM KINDS WHERE ID = 3";
    auto kept = readAll(*keeping, sql);
    auto trimmed = readAll(*trimming, sql);
    EXPECT_EQ(kept[0][0], ds::Value(std::string("xy    ")));
    EXPECT_EQ(trimmed[0][0], ds::Value(std::string("xy")));
    // Variable-length text is never trimmed.
    EXPECT_EQ(kept[0][1], ds::Value(std::string("pad  ")));
    EXPECT_EQ(trimmed[0][1], ds::Value(std::string("pad  ")));
}

TEST_F(FbDriverValues, BlobsAreFetchedWhole) {
    auto connection = connectTo(db_.path(), {{"BlobSize", "-1"}});
    std::string memo;
    for (int i = 0; i < 20000; ++i) memo += kBig5;  // 200000 bytes, several segments
    std::string binary;
    for (int i = 0; i < 70000; ++i) binary += static_cast<char>(i % 256);
    connection->execute("INSERT INTO KINDS (ID, MEMO, BIN) VALUES (20, ?, ?)", {memo, binary});
    auto rows = readAll(*connection, "SELECT MEMO, BIN FROM KINDS WHERE ID = 20");
    EXPECT_EQ(std::get<std::string>(rows[0][0]), memo);
    EXPECT_EQ(std::get<std::string>(rows[0][1]), binary);
}

TEST_F(FbDriverValues, BlobSizeLimitsWhatIsFetched) {
    std::string memo(5000, 'm');
    connectTo(db_.path())->execute("INSERT INTO KINDS (ID, MEMO) VALUES (21, ?)", {memo});
    auto limited = connectTo(db_.path(), {{"BlobSize", "2"}});
    auto rows = readAll(*limited, "SELECT MEMO FROM KINDS WHERE ID = 21");
    EXPECT_EQ(std::get<std::string>(rows[0][0]), std::string(2048, 'm'));
}

TEST_F(FbDriverValues, AnEmptyResultHasColumnsAndNoRows) {
    auto connection = connectTo(db_.path());
    auto cursor = connection->query("SELECT * FROM PRODUCT WHERE PROD_ID = '-1'", {});
    EXPECT_EQ(cursor->columns().size(), 96u);
    ds::Row row;
    EXPECT_FALSE(cursor->fetch(row));
    EXPECT_FALSE(cursor->fetch(row));
}

}  // namespace
