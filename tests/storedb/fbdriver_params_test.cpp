// Values given for "?" markers, converted to the kind each marker stands for.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fbdriver_plugin.h"

using namespace qor;
using namespace qor::fbtest;
using ::testing::HasSubstr;

namespace {

const char* kTable = R"(
CREATE TABLE P (
    ID INTEGER NOT NULL PRIMARY KEY,
    V  VARCHAR(30),
    C  CHAR(4),
    S  SMALLINT,
    I  INTEGER,
    B  BIGINT,
    D  DOUBLE PRECISION,
    N  NUMERIC(9,2),
    BO BOOLEAN,
    DT DATE,
    TM TIME,
    TS TIMESTAMP,
    MEMO BLOB SUB_TYPE TEXT
);
)";

class FbDriverParams : public ::testing::Test {
protected:
    void SetUp() override { connection_ = connectTo(db_.path()); }

    // Writes `value` into `column` of a new row and reads the column back.
    ds::Value roundTrip(const std::string& column, const ds::Value& value) {
        ++id_;
        connection_->execute("INSERT INTO P (ID, " + column + ") VALUES (?, ?)", {std::int64_t{id_}, value});
        return firstValue(*connection_, "SELECT " + column + " FROM P WHERE ID = ?", {std::int64_t{id_}});
    }

    test::TempDatabase db_{kTable};
    std::unique_ptr<dbx::Connection> connection_;
    std::int64_t id_ = 0;
};

TEST_F(FbDriverParams, EachKindIntoAMarkerOfItsOwnKind) {
    EXPECT_EQ(roundTrip("V", std::string("abc")), ds::Value(std::string("abc")));
    EXPECT_EQ(roundTrip("S", std::int64_t{-12}), ds::Value(std::int64_t{-12}));
    EXPECT_EQ(roundTrip("I", std::int64_t{123456789}), ds::Value(std::int64_t{123456789}));
    EXPECT_EQ(roundTrip("B", std::int64_t{1} << 40), ds::Value(std::int64_t{1} << 40));
    EXPECT_EQ(roundTrip("D", 0.1), ds::Value(0.1));
    EXPECT_EQ(roundTrip("BO", true), ds::Value(true));
    EXPECT_EQ(roundTrip("BO", false), ds::Value(false));
    EXPECT_EQ(roundTrip("DT", ds::Date{2023, 12, 31}), ds::Value(ds::Date{2023, 12, 31}));
    EXPECT_EQ(roundTrip("TM", ds::Time{8, 5, 9, 120}), ds::Value(ds::Time{8, 5, 9, 120}));
    ds::DateTime stamp{{1900, 3, 1}, {0, 0, 1, 0}};
    EXPECT_EQ(roundTrip("TS", stamp), ds::Value(stamp));
    EXPECT_EQ(roundTrip("MEMO", std::string("long text")), ds::Value(std::string("long text")));
}

TEST_F(FbDriverParams, ANullIntoAnyMarkerWritesNull) {
    for (const char* column : {"V", "C", "S", "I", "B", "D", "N", "BO", "DT", "TM", "TS", "MEMO"})
        EXPECT_TRUE(ds::isNull(roundTrip(column, std::monostate{}))) << column;
}

TEST_F(FbDriverParams, NumbersIntoNumericMarkersOfAnotherKind) {
    EXPECT_EQ(roundTrip("N", 12.345), ds::Value(12.35));  // rounded to the column's scale
    EXPECT_EQ(roundTrip("N", std::int64_t{7}), ds::Value(7.0));
    EXPECT_EQ(roundTrip("I", 41.6), ds::Value(std::int64_t{42}));
    EXPECT_EQ(roundTrip("D", std::int64_t{3}), ds::Value(3.0));
    EXPECT_EQ(roundTrip("I", true), ds::Value(std::int64_t{1}));
}

TEST_F(FbDriverParams, TextIntoNumericAndDateMarkersIsParsed) {
    EXPECT_EQ(roundTrip("D", std::string("12.5")), ds::Value(12.5));
    EXPECT_EQ(roundTrip("I", std::string("42")), ds::Value(std::int64_t{42}));
    EXPECT_EQ(roundTrip("N", std::string("-3.10")), ds::Value(-3.1));
    EXPECT_EQ(roundTrip("DT", std::string("2024-01-05")), ds::Value(ds::Date{2024, 1, 5}));
    EXPECT_EQ(roundTrip("BO", std::string("true")), ds::Value(true));
}

TEST_F(FbDriverParams, TextThatIsNoNumberFailsWithFirebirdsText) {
    std::string error = failureOf([&] {
        connection_->execute("INSERT INTO P (ID, I) VALUES (?, ?)", {std::int64_t{99}, std::string("abc")});
    });
    EXPECT_THAT(error, HasSubstr("conversion error"));
    EXPECT_THAT(error, HasSubstr("abc"));
    EXPECT_EQ(countOf(*connection_, "P"), 0);
}

TEST_F(FbDriverParams, NumbersAndDatesIntoTextMarkersBecomeTheSystemsTexts) {
    EXPECT_EQ(roundTrip("V", 12.5), ds::Value(std::string("12.5")));
    EXPECT_EQ(roundTrip("V", 0.1), ds::Value(std::string("0.1")));
    EXPECT_EQ(roundTrip("V", std::int64_t{-7}), ds::Value(std::string("-7")));
    EXPECT_EQ(roundTrip("V", ds::Date{2024, 1, 5}), ds::Value(std::string("2024/01/05")));
    EXPECT_EQ(roundTrip("V", ds::DateTime{{2024, 1, 5}, {9, 8, 7, 0}}),
              ds::Value(std::string("2024/01/05 09:08:07")));
    EXPECT_EQ(roundTrip("V", true), ds::Value(std::string("True")));
    EXPECT_EQ(roundTrip("C", std::string("ab")), ds::Value(std::string("ab  ")));
    EXPECT_EQ(roundTrip("V", std::string()), ds::Value(std::string()));  // empty, not null
}

TEST_F(FbDriverParams, AWrongNumberOfValuesIsRefused) {
    std::string error = failureOf(
        [&] { connection_->execute("INSERT INTO P (ID, V) VALUES (?, ?)", {std::int64_t{1}}); });
    EXPECT_THAT(error, HasSubstr("2 parameter markers"));
    EXPECT_EQ(countOf(*connection_, "P"), 0);
    // The same statement with the right values works afterwards.
    connection_->execute("INSERT INTO P (ID, V) VALUES (?, ?)", {std::int64_t{1}, std::string("x")});
    EXPECT_EQ(countOf(*connection_, "P"), 1);
}

TEST_F(FbDriverParams, ExecuteReturnsTheRowsAffected) {
    for (std::int64_t id = 1; id <= 3; ++id)
        EXPECT_EQ(connection_->execute("INSERT INTO P (ID, I) VALUES (?, ?)", {id, id * 10}), 1);
    EXPECT_EQ(connection_->execute("UPDATE P SET V = 'u' WHERE I >= ?", {std::int64_t{20}}), 2);
    EXPECT_EQ(connection_->execute("DELETE FROM P", {}), 3);
    EXPECT_EQ(connection_->execute("DELETE FROM P", {}), 0);
}

}  // namespace
