// Statement parameters: markers, names, and the typed values given from a field's text, both
// as values and as what the database stores.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "dataset/dataset.h"
#include "error_text.h"
#include "storedb/params.h"
#include "storedb_fixture.h"
#include "text/errors.h"

namespace qor::storedb::testing {
namespace {

using ds::FieldKind;

using qor::test::errorOf;

TEST(ParamMarkers, OnePerMarkerOutsideQuotedTextInOrder) {
    ParamSet set;
    set.derive("INSERT INTO T (A, B, C) VALUES (:A, ':B', :c_1)\r\n"
               "-- :D in a comment\r\n"
               "/* :E */ WHERE X = \":F\" AND Y = :A AND T = '12:30' AND Z = 'it''s :G'");
    ASSERT_EQ(set.count(), 3);
    EXPECT_EQ(set.at(0).name(), "A");
    EXPECT_EQ(set.at(1).name(), "c_1");
    EXPECT_EQ(set.at(2).name(), "A");
    EXPECT_EQ(set.positionalSql(),
              "INSERT INTO T (A, B, C) VALUES (?, ':B', ?)\r\n"
              "-- :D in a comment\r\n"
              "/* :E */ WHERE X = \":F\" AND Y = ? AND T = '12:30' AND Z = 'it''s :G'");
}

TEST(ParamMarkers, NamesMatchWithoutRegardToCase) {
    ParamSet set;
    set.derive("VALUES (:ini_date, :Keyintime)");
    set.byName("INI_DATE").setAsString("x");
    set.byName("KEYINTIME").setAsString("y");
    EXPECT_EQ(set.values(), (std::vector<ds::Value>{std::string("x"), std::string("y")}));
    EXPECT_EQ(errorOf([&] { set.byName("NOPE"); }), "Parameter 'NOPE' not found");
}

TEST(ParamMarkers, AParameterWithoutValueOrTypeStopsTheStatement) {
    ParamSet set;
    set.derive("VALUES (:A, :B)");
    set.byName("A").setAsString("");
    EXPECT_EQ(errorOf([&] { set.values(); }), "No value for parameter 'B'");
    // A null value leaves the parameter without a type, as if never set.
    set.byName("B").setValue(ds::Value{});
    EXPECT_FALSE(set.byName("B").bound());
    EXPECT_EQ(errorOf([&] { set.values(); }), "No value for parameter 'B'");
    // A typed null is a value: written as NULL.
    set.byName("B").setNull(FieldKind::Float);
    EXPECT_EQ(set.values().size(), 2u);
}

struct FromText {
    FieldKind kind;
    std::string text;
    ds::Value expected;
};

class ParamFromFieldText : public ::testing::TestWithParam<FromText> {};

TEST_P(ParamFromFieldText, GivesTheKindAndValue) {
    const auto& c = GetParam();
    Param p("P");
    setParamFromFieldText(p, c.kind, c.text);
    ASSERT_TRUE(p.bound());
    EXPECT_EQ(p.dataType(), c.kind);
    EXPECT_EQ(p.value(), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ParamFromFieldText,
    ::testing::Values(
        FromText{FieldKind::String, " as is ", std::string(" as is ")},
        FromText{FieldKind::String, "", std::string("")},
        FromText{FieldKind::Integer, "42", std::int64_t{42}},
        FromText{FieldKind::Integer, "-7", std::int64_t{-7}},
        FromText{FieldKind::Integer, "", std::int64_t{0}},
        FromText{FieldKind::Integer, "4.5", std::int64_t{0}},
        FromText{FieldKind::Integer, "12abc", std::int64_t{0}},
        FromText{FieldKind::Integer, "99999999999", std::int64_t{0}},
        FromText{FieldKind::SmallInt, "-300", std::int64_t{-300}},
        FromText{FieldKind::SmallInt, "x", std::int64_t{0}},
        FromText{FieldKind::Word, "65535", std::int64_t{65535}},
        FromText{FieldKind::Boolean, "true", true},
        FromText{FieldKind::Boolean, "TRUE", true},
        FromText{FieldKind::Boolean, "yes", false},
        FromText{FieldKind::Boolean, "", false},
        FromText{FieldKind::Float, "12.5", 12.5},
        FromText{FieldKind::Float, "-1E3", -1000.0},
        FromText{FieldKind::Float, "", 0.0},
        FromText{FieldKind::Float, "1,5", 0.0},
        FromText{FieldKind::Float, "abc", 0.0},
        FromText{FieldKind::Float, "inf", 0.0},
        FromText{FieldKind::Float, "0.1234567890123456", 0.1234567890123456},
        FromText{FieldKind::Currency, "1.23456", 1.2346},
        FromText{FieldKind::Currency, "x", 0.0},
        FromText{FieldKind::BCD, "19.99", 19.99},
        FromText{FieldKind::Date, "2024/02/29", ds::Date{2024, 2, 29}},
        FromText{FieldKind::Date, "2024/2/9", ds::Date{2024, 2, 9}},
        FromText{FieldKind::Time, "13:05:09", ds::Time{13, 5, 9, 0}},
        FromText{FieldKind::Time, "7:30", ds::Time{7, 30, 0, 0}},
        FromText{FieldKind::DateTime, "2024/01/02 03:04:05", ds::DateTime{{2024, 1, 2}, {3, 4, 5, 0}}},
        FromText{FieldKind::DateTime, "2024/01/02", ds::DateTime{{2024, 1, 2}, {}}}));

TEST(ParamFromFieldTextFailures, NamedByTheText) {
    Param p("P");
    EXPECT_EQ(errorOf([&] { setParamFromFieldText(p, FieldKind::BCD, "1.2.3"); }),
              "'1.2.3' is not a valid floating point value");
    EXPECT_EQ(errorOf([&] { setParamFromFieldText(p, FieldKind::BCD, ""); }),
              "'' is not a valid floating point value");
    EXPECT_EQ(errorOf([&] { setParamFromFieldText(p, FieldKind::Date, "2023/02/29"); }),
              "'2023/02/29' is not a valid date");
    EXPECT_EQ(errorOf([&] { setParamFromFieldText(p, FieldKind::Date, ""); }), "'' is not a valid date");
    EXPECT_EQ(errorOf([&] { setParamFromFieldText(p, FieldKind::Time, "25:00"); }),
              "'25:00' is not a valid time");
    EXPECT_EQ(errorOf([&] { setParamFromFieldText(p, FieldKind::DateTime, "2024/01/02T03:04"); }),
              "'2024/01/02T03:04' is not a valid date and time");
    EXPECT_FALSE(p.bound());
}

TEST(ParamFromFieldTextFailures, OtherKindsAreNotSet) {
    Param p("P");
    setParamFromFieldText(p, FieldKind::Memo, "text");
    EXPECT_FALSE(p.bound());
    setParamFromFieldText(p, FieldKind::Binary, "text");
    EXPECT_FALSE(p.bound());
}

// The faster path from a field must give, bit for bit, what the field's text gives.
TEST(ParamFromField, GivesWhatTheFieldsTextGives) {
    ds::Dataset row("ROW");
    ds::FieldDef def;
    def.name = "F";
    def.kind = FieldKind::Float;
    row.declareField(def);
    row.open();
    row.append();
    ds::Field& f = row.fieldByName("F");
    std::vector<double> values{0.0, -0.0, 0.1 + 0.2, 1.0 / 3, 49.95, 1e15 + 1, 1e16 + 2,
                               123456789012345.67, 0.5, 0x1p60, 0x1p-30, 5e-324,
                               1.7976931348623157e308, 9007199254740993.0};
    std::mt19937_64 random(20240611);
    for (int i = 0; i < 100000; ++i) {
        double bits;
        const std::uint64_t pattern = random();
        std::memcpy(&bits, &pattern, sizeof bits);
        if (std::isfinite(bits)) values.push_back(bits);
        values.push_back(double(random() % 10000000) / 100.0);  // prices
        values.push_back(double(random() % 1000) * std::pow(10.0, int(random() % 40) - 20));
    }
    for (double v : values) {
        f.setAsFloat(v);
        Param fast("P"), text("P");
        setParamFromField(fast, f);
        setParamFromFieldText(text, f.kind(), f.asString());
        const double a = std::get<double>(fast.value()), b = std::get<double>(text.value());
        ASSERT_EQ(std::memcmp(&a, &b, sizeof a), 0) << f.asString();
    }
}

// ---- what the database stores

constexpr const char* kTypedTable =
    "CREATE TABLE TYPED (ID INTEGER, S VARCHAR(20), SI SMALLINT, I INTEGER, F DOUBLE PRECISION,"
    " C NUMERIC(18,4), D DATE, T TIME, TS TIMESTAMP, B BOOLEAN);";

class TypedWriteTest : public StoreDbTest {
protected:
    TypedWriteTest() : StoreDbTest(kTypedTable) {}
};

TEST_F(TypedWriteTest, EachKindIsWrittenAndReadBack) {
    auto connection = makeConnection();
    SqlQuery query("SQLQuery1", *connection);
    query.close();
    query.clearSql();
    query.addLine("INSERT INTO TYPED (ID, S, SI, I, F, C, D, T, TS, B)");
    query.addLine(" VALUES (:ID, :S, :SI, :I, :F, :C, :D, :T, :TS, :B) ");
    setParamFromFieldText(query.paramByName("ID"), FieldKind::Integer, "1");
    setParamFromFieldText(query.paramByName("S"), FieldKind::String, "abc");
    setParamFromFieldText(query.paramByName("SI"), FieldKind::SmallInt, "-12");
    setParamFromFieldText(query.paramByName("I"), FieldKind::Integer, "not a number");
    setParamFromFieldText(query.paramByName("F"), FieldKind::Float, "3.25");
    setParamFromFieldText(query.paramByName("C"), FieldKind::BCD, "12.3456");
    setParamFromFieldText(query.paramByName("D"), FieldKind::Date, "2024/03/01");
    setParamFromFieldText(query.paramByName("T"), FieldKind::Time, "08:09:10");
    setParamFromFieldText(query.paramByName("TS"), FieldKind::DateTime, "2024/03/01 08:09:10");
    setParamFromFieldText(query.paramByName("B"), FieldKind::Boolean, "True");
    EXPECT_EQ(query.execSql(), 1);

    query.close();
    query.clearSql();
    query.addLine("SELECT * FROM TYPED WHERE ID = 1");
    query.open();
    EXPECT_EQ(query.fieldText("S"), "abc");
    EXPECT_EQ(query.fieldText("SI"), "-12");
    EXPECT_EQ(query.fieldText("I"), "0");
    EXPECT_EQ(query.fieldText("F"), "3.25");
    EXPECT_EQ(query.fieldText("C"), "12.3456");
    EXPECT_EQ(query.fieldValue("D"), ds::Value(ds::Date{2024, 3, 1}));
    EXPECT_EQ(query.fieldText("D"), "2024/03/01");
    EXPECT_EQ(query.fieldText("T"), "08:09:10");
    EXPECT_EQ(query.fieldText("TS"), "2024/03/01 08:09:10");
    EXPECT_EQ(query.fieldText("B"), "True");
}

TEST_F(TypedWriteTest, ATypedNullIsWrittenAsNullAndAnUntypedOneIsRefused) {
    auto connection = makeConnection();
    SqlQuery query("SQL_S", *connection);
    query.setSql("INSERT INTO TYPED (ID, F) VALUES (:ID, :F)");
    query.paramByName("ID").setAsInteger(2);
    query.paramByName("F").setValue(ds::Value{});
    EXPECT_EQ(errorOf([&] { query.execSql(); }), "No value for parameter 'F'");

    query.paramByName("F").setNull(FieldKind::Float);
    query.execSql();
    query.setSql("SELECT F FROM TYPED WHERE ID = 2");
    query.open();
    EXPECT_FALSE(query.isEmpty());
    EXPECT_EQ(query.fieldValue("F"), ds::Value{});
    EXPECT_EQ(query.fieldText("F"), "");
}

}  // namespace
}  // namespace qor::storedb::testing
