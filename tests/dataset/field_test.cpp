#include <gtest/gtest.h>

#include "dataset/dataset.h"
#include "dataset_test_support.h"
#include "dataset/datasource.h"
#include "text/cp950.h"
#include "text/errors.h"

using namespace qor::ds;
using qor::ds::test::fieldDef;
using qor::ds::test::errorOf;

namespace {

class ProductFields : public ::testing::Test {
protected:
    void SetUp() override {
        FieldDef id = fieldDef("PROD_ID", FieldKind::String, 20, QOR_BIG5("商品編號"));
        id.required = true;
        ds.declareField(id);
        ds.declareField(fieldDef("PROD_NAME", FieldKind::String, 5));
        FieldDef avg = fieldDef("AVG_COST", FieldKind::Float, 0, QOR_BIG5("平均成本"));
        avg.displayFormat = "#0.00";
        ds.declareField(avg);
        FieldDef put = fieldDef("PUT_ID", FieldKind::String, 10);
        put.editMask = "!00-00-0;0;";
        ds.declareField(put);
        FieldDef vip = fieldDef("VIP_PRICE", FieldKind::Float, 0, QOR_BIG5("會員售價"));
        vip.required = true;
        ds.declareField(vip);
        ds.declareField(fieldDef("IN_TAG", FieldKind::SmallInt));
        ds.declareField(fieldDef("PD_ITEMID", FieldKind::String, 10));
        ds.declareField(fieldDef("PD_ITEMNAME", FieldKind::String, 20));
        ds.declareField(fieldDef("FLAG", FieldKind::String));
        ds.open();
        ds.append();
    }
    Field& f(const char* name) { return ds.fieldByName(name); }
    Dataset ds{"CDS_PRODUCT"};
};

}  // namespace

TEST_F(ProductFields, LongTextIsCutToTheSizeWithoutHalfACharacter) {
    EXPECT_EQ(f("FLAG").size(), 20);  // no size declared: the default
    f("PROD_ID").setAsString("1234567890123456789012345");
    EXPECT_EQ(f("PROD_ID").asString(), "12345678901234567890");
    // "ab" + two double-byte characters is 6 bytes; 5 would end in a lead byte.
    f("PROD_NAME").setAsString("ab" + QOR_BIG5("商品"));
    EXPECT_EQ(f("PROD_NAME").asString(), "ab" + QOR_BIG5("商"));
    f("PROD_NAME").setValue(Value(123456.0));
    EXPECT_EQ(f("PROD_NAME").asString(), "12345");
}

TEST_F(ProductFields, DisplayFormatAndEditMaskShapeOnlyTheDisplayText) {
    f("AVG_COST").setAsFloat(3);
    EXPECT_EQ(f("AVG_COST").displayText(), "3.00");
    EXPECT_EQ(f("AVG_COST").editText(), "3");
    EXPECT_EQ(f("AVG_COST").asFloat(), 3);
    f("AVG_COST").setAsString("0.333");
    EXPECT_EQ(f("AVG_COST").displayText(), "0.33");

    EXPECT_EQ(f("PUT_ID").displayText(), "");
    f("PUT_ID").setAsString("12345");
    EXPECT_EQ(f("PUT_ID").displayText(), "12-34-5");
    EXPECT_EQ(f("PUT_ID").asString(), "12345");
    f("PUT_ID").setAsString("");
    EXPECT_EQ(f("PUT_ID").displayText(), "");
}

TEST_F(ProductFields, ConversionFailureKeepsThePreviousValue) {
    f("AVG_COST").setAsFloat(1.5);
    EXPECT_EQ(errorOf([&] { f("AVG_COST").setAsString("abc"); }),
              "Invalid value for field '" + QOR_BIG5("平均成本") + "'");
    EXPECT_EQ(f("AVG_COST").asFloat(), 1.5);
    EXPECT_EQ(errorOf([&] { f("IN_TAG").setAsInteger(70000); }),
              "Invalid value for field 'IN_TAG'");
    f("IN_TAG").setValue(Value(std::string(" 12 ")));
    EXPECT_EQ(f("IN_TAG").value(), Value(std::int64_t(12)));
    f("AVG_COST").setAsString("");  // empty text clears a number
    EXPECT_TRUE(f("AVG_COST").isNull());
    EXPECT_EQ(f("AVG_COST").asString(), "");
    EXPECT_EQ(f("AVG_COST").asFloat(), 0);
}

TEST_F(ProductFields, ValidationSeesTheNewValueAndMayFillOtherFields) {
    std::vector<std::string> seen;
    f("PD_ITEMID").onValidate = [&](Field& code) {
        seen.push_back(code.asString());
        if (code.asString() == "A01") ds.fieldByName("PD_ITEMNAME").setAsString("drinks");
        if (code.asString() == "BAD") throw qor::Error("refused");
    };
    f("PD_ITEMID").setAsString("A01");
    EXPECT_EQ(f("PD_ITEMNAME").asString(), "drinks");
    f("PD_ITEMID").setAsString("Z99");  // unknown: the name stays as it was
    EXPECT_EQ(f("PD_ITEMNAME").asString(), "drinks");
    EXPECT_EQ(errorOf([&] { f("PD_ITEMID").setAsString("BAD"); }), "refused");
    EXPECT_EQ(f("PD_ITEMID").asString(), "Z99");
    f("PD_ITEMID").setAsString("");
    EXPECT_EQ(seen, (std::vector<std::string>{"A01", "Z99", "BAD", ""}));
}

TEST_F(ProductFields, RequiredFieldStopsThePostAndAsksForFocus) {
    DataSource source("DS_PRODUCT", &ds);
    FieldDataLink link;
    link.setDataSource(&source);
    link.setFieldName("VIP_PRICE");
    int focusRequests = 0;
    link.onFocusControl = [&] { ++focusRequests; };

    f("PROD_ID").setAsString("P1");
    EXPECT_EQ(errorOf([&] { ds.post(); }),
              "Field '" + QOR_BIG5("會員售價") + "' must have a value");
    EXPECT_EQ(focusRequests, 1);
    EXPECT_EQ(ds.state(), DataSetState::Insert);
    EXPECT_EQ(f("PROD_ID").asString(), "P1");
    f("VIP_PRICE").setAsFloat(10);
    ds.post();
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.recordCount(), 1);
}

TEST_F(ProductFields, ClosedDatasetRefusesWritesAndReadsAsNull) {
    f("PROD_ID").setAsString("P1");
    ds.close();
    EXPECT_EQ(f("PROD_ID").asString(), "");
    EXPECT_FALSE(f("PROD_ID").canModify());
    EXPECT_EQ(errorOf([&] { f("PROD_ID").setAsString("X"); }),
              "CDS_PRODUCT: Cannot perform this operation on a closed dataset");
}

TEST(FieldKinds, TextFormsOfEachKind) {
    Dataset ds("T");
    Table t;
    t.columns = {{"B", FieldKind::Boolean}, {"D", FieldKind::Date}, {"DT", FieldKind::DateTime},
                 {"C", FieldKind::Currency}, {"W", FieldKind::Word}};
    t.rows.push_back({true, Date{2024, 5, 6}, DateTime{{2024, 5, 6}, {7, 8, 9, 0}}, 2.5,
                      std::int64_t(7)});
    ds.openWith(std::move(t));
    EXPECT_EQ(ds.fieldByName("b").asString(), "True");
    EXPECT_EQ(ds.fieldByName("D").asString(), "2024/05/06");
    EXPECT_EQ(ds.fieldByName("DT").asString(), "2024/05/06 07:08:09");
    EXPECT_EQ(ds.fieldByName("C").asString(), "2.5");
    ds.fieldByName("B").setAsString("n");
    EXPECT_FALSE(ds.fieldByName("B").asBoolean());
    ds.fieldByName("D").setAsString("2023/12/31");
    EXPECT_EQ(ds.fieldByName("D").value(), Value(Date{2023, 12, 31}));
    EXPECT_EQ(errorOf([&] { ds.fieldByName("D").setAsString("2023/13/01"); }),
              "Invalid value for field 'D'");
    EXPECT_EQ(errorOf([&] { ds.fieldByName("W").setAsInteger(-1); }),
              "Invalid value for field 'W'");
}

TEST_F(ProductFields, TypedTextIsReadInTheFieldsOwnForm) {
    const std::string avg = QOR_BIG5("平均成本");
    f("AVG_COST").setText("2.5");
    EXPECT_EQ(f("AVG_COST").asFloat(), 2.5);
    EXPECT_EQ(errorOf([&] { f("AVG_COST").setText("abc"); }),
              "'abc' is not a valid floating point value for field '" + avg + "'");
    EXPECT_EQ(f("AVG_COST").asFloat(), 2.5);
    f("AVG_COST").setText("");  // an emptied number field has no value
    EXPECT_TRUE(f("AVG_COST").isNull());

    EXPECT_EQ(errorOf([&] { f("IN_TAG").setText("1.5"); }),
              "'1.5' is not a valid integer value for field 'IN_TAG'");
    EXPECT_EQ(errorOf([&] { f("IN_TAG").setText("40000"); }),  // beyond a small integer
              "'40000' is not a valid integer value for field 'IN_TAG'");
    f("IN_TAG").setText(" 7 ");
    EXPECT_EQ(f("IN_TAG").asInteger(), 7);

    f("PROD_NAME").setText("abcdefg");  // text: cut to the size, as any assignment
    EXPECT_EQ(f("PROD_NAME").asString(), "abcde");
    f("PROD_NAME").setText("");
    EXPECT_EQ(f("PROD_NAME").asString(), "");
}

TEST(TypedText, StartsAnEditRunsValidationAndNamesDatesLikeNumbers) {
    Dataset ds("T");
    Table t;
    t.columns = {{"PRICE", FieldKind::Float}, {"D", FieldKind::Date}};
    t.rows.push_back({1.0, Date{2024, 5, 6}});
    ds.openWith(std::move(t));
    Field& price = ds.fieldByName("PRICE");
    std::vector<std::string> seen;
    price.onValidate = [&](Field& field) { seen.push_back(field.asString()); };

    price.setText("3");
    EXPECT_EQ(ds.state(), DataSetState::Edit);
    ds.cancel();
    EXPECT_EQ(errorOf([&] { price.setText("x"); }),
              "'x' is not a valid floating point value for field 'PRICE'");
    EXPECT_EQ(ds.state(), DataSetState::Browse);  // a refused text starts nothing
    EXPECT_EQ(seen, std::vector<std::string>{"3"});

    EXPECT_EQ(errorOf([&] { ds.fieldByName("D").setText("2024/02/30"); }),
              "'2024/02/30' is not a valid date for field 'D'");
    ds.fieldByName("D").setText("2024/2/29");
    EXPECT_EQ(ds.fieldByName("D").value(), Value(Date{2024, 2, 29}));
    // setAsString keeps the conversion message of a plain assignment.
    EXPECT_EQ(errorOf([&] { price.setAsString("x"); }), "Invalid value for field 'PRICE'");
}
