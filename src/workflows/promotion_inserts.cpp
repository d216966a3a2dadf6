#include "workflows/promotion_inserts.h"

#include <span>
#include <string_view>

#include "dataset/value_text.h"
#include "text/cp950.h"

namespace qor::workflows {

namespace {

enum class Rule {
    Text,         // the field's text
    Typed,        // the field's value in its own type; a null as NULL
    Number,       // the field's text as a number, else `fallback`
    Constant,     // the text in `from`
    TransferId,   // "IM" + the master's MASTERBILLID, whichever row is written
    YesOnlyForY,  // "Y" for exactly "Y", "N" for anything else
    UpperOrN,     // upper-cased, "N" when empty
};

struct ParamRule {
    const char* param;
    Rule rule;
    const char* from;  // the source field; for a constant, its text
    double fallback = 0;
};

constexpr std::string_view kMasterInsert[] = {
    "INSERT INTO PSALE_MASTER(MASTERBILLID,BILL_DATE,SOURCE_ID,",
    "INI_DATE,END_DATE,REASON,REGISTER,STORE_ID,CHG_DATE,CHG_USER,OVER_AMT,PINI_DATE,PEND_DATE,"
    "BILL_TYPE,BILL_KIND,PRO_NO) VALUES ",
    "(:MASTERBILLID,:BILL_DATE,:SOURCE_ID,",
    ":INI_DATE,:END_DATE,:REASON,:REGISTER,:STORE_ID,:CHG_DATE,:CHG_USER,:OVER_AMT,:PINI_DATE,"
    ":PEND_DATE,:BILL_TYPE,:BILL_KIND,:PRO_NO)",
};

constexpr ParamRule kMasterParams[] = {
    {"MASTERBILLID", Rule::TransferId, "MASTERBILLID"},
    {"BILL_DATE", Rule::Text, "BILL_DATE"},
    {"SOURCE_ID", Rule::Text, "MASTERBILLID"},
    {"INI_DATE", Rule::Text, "INI_DATE"},
    {"END_DATE", Rule::Text, "END_DATE"},
    {"REASON", Rule::Text, "REASON"},
    {"REGISTER", Rule::Text, "REGISTER"},
    {"STORE_ID", Rule::Text, "STORE_ID"},
    {"CHG_DATE", Rule::Text, "CHG_DATE"},
    {"CHG_USER", Rule::Text, "CHG_USER"},
    {"OVER_AMT", Rule::Number, "OVER_AMT", 0},
    {"PINI_DATE", Rule::Text, "INI_DATE"},  // the promotion's start, not the master's PINI_DATE
    {"PEND_DATE", Rule::Text, "PEND_DATE"},
    {"BILL_TYPE", Rule::Text, "BILL_TYPE"},
    {"BILL_KIND", Rule::Constant, "A"},
    {"PRO_NO", Rule::Text, "PRO_NO"},
};

constexpr std::string_view kItemInsert[] = {
    "INSERT INTO PSALE_SUB(MASTERBILLID,PROD_ID,PROD_NAME,PROD_BARCODE,",
    "PD_ITEMID,PSALE_FLAG,PSALE_PRICE,OLD_PRICE,N_QTY,G_PROD_ID,",
    "G_PROD_NAME,G_QTY,TEMPPRODID,STORE_ID,CHG_DATE,CHG_USER,VIP_PRICE,ini_date,end_date,"
    "NEW_COST,Keyintime,SEC_DIS,PINI_DATE,PEND_DATE,VNEW_COST,pack_qty,PLIMIT_QTY,NOTE,v_name,"
    "STOP_SALE,BILL_KIND,",
    "U_DIS,PROVIDER_ID,PROVIDER_NAME,OLD_COST,POINT_YN,PRO_NO,SET_TYPE,POP_TYPE) VALUES ",
    "(:MASTERBILLID,:PROD_ID,:PROD_NAME,:PROD_BARCODE,",
    ":PD_ITEMID,:PSALE_FLAG,:PSALE_PRICE,:OLD_PRICE,:N_QTY,:G_PROD_ID,",
    ":G_PROD_NAME,:G_QTY,:TEMPPRODID,:STORE_ID,:CHG_DATE,:CHG_USER,",
    ":VIP_PRICE,:ini_date,:end_date,:NEW_COST,:Keyintime,:SEC_DIS,:PINI_DATE,:PEND_DATE,"
    ":VNEW_COST,:pack_qty,:PLIMIT_QTY,:NOTE,:v_name,:STOP_SALE,:BILL_KIND,:U_DIS,:PROVIDER_ID,"
    ":PROVIDER_NAME,:OLD_COST,:POINT_YN,:PRO_NO,:SET_TYPE,:POP_TYPE)",
};

constexpr ParamRule kItemParams[] = {
    {"MASTERBILLID", Rule::TransferId, "MASTERBILLID"},
    {"PROD_ID", Rule::Text, "PROD_ID"},
    {"PROD_NAME", Rule::Text, "PROD_NAME"},
    {"PROD_BARCODE", Rule::Text, "PROD_BARCODE"},
    {"PD_ITEMID", Rule::Text, "PD_ITEMID"},
    {"PSALE_FLAG", Rule::Text, "PSALE_FLAG"},
    {"PSALE_PRICE", Rule::Typed, "PSALE_PRICE"},
    {"OLD_PRICE", Rule::Typed, "OLD_PRICE"},
    {"N_QTY", Rule::Typed, "N_QTY"},
    {"G_PROD_ID", Rule::Text, "G_PROD_ID"},
    {"G_PROD_NAME", Rule::Text, "G_PROD_NAME"},
    {"G_QTY", Rule::Typed, "G_QTY"},
    {"TEMPPRODID", Rule::Text, "TEMPPRODID"},
    {"STORE_ID", Rule::Text, "STORE_ID"},
    {"CHG_DATE", Rule::Text, "CHG_DATE"},
    {"CHG_USER", Rule::Text, "CHG_USER"},
    {"VIP_PRICE", Rule::Typed, "VIP_PRICE"},
    {"ini_date", Rule::Typed, "ini_date"},
    {"end_date", Rule::Typed, "end_date"},
    {"NEW_COST", Rule::Number, "NEW_COST", 0},
    {"Keyintime", Rule::Text, "KEYINTIME"},
    {"SEC_DIS", Rule::YesOnlyForY, "SEC_DIS"},
    {"PINI_DATE", Rule::Typed, "PINI_DATE"},
    {"PEND_DATE", Rule::Typed, "PEND_DATE"},
    {"VNEW_COST", Rule::Number, "VNEW_COST", 0},
    {"pack_qty", Rule::Number, "PACK_QTY", 1},
    {"PLIMIT_QTY", Rule::Number, "PLIMIT_QTY", 0},
    {"NOTE", Rule::Text, "NOTE"},
    {"v_name", Rule::Text, "v_name"},
    {"STOP_SALE", Rule::UpperOrN, "STOP_SALE"},
    {"BILL_KIND", Rule::Constant, "A"},
    {"U_DIS", Rule::Number, "U_DIS", 100},
    {"PROVIDER_ID", Rule::Text, "PROVIDER_ID"},
    {"PROVIDER_NAME", Rule::Text, "PROVIDER_NAME"},
    {"OLD_COST", Rule::Number, "OLD_COST", 0},
    {"POINT_YN", Rule::Text, "POINT_YN"},
    {"PRO_NO", Rule::Text, "PRO_NO"},
    {"SET_TYPE", Rule::Text, "SET_TYPE"},
    {"POP_TYPE", Rule::Text, "POP_TYPE"},
};

void setParam(storedb::Param& param, const ParamRule& rule, ds::Dataset& row, ds::Dataset& master) {
    switch (rule.rule) {
    case Rule::Constant:
        param.setAsString(rule.from);
        return;
    case Rule::TransferId:
        param.setAsString(transferredPromotionId(master.fieldByName(rule.from).asString()));
        return;
    default:
        break;
    }
    const ds::Field& field = row.fieldByName(rule.from);
    switch (rule.rule) {
    case Rule::Typed:
        if (field.isNull())
            param.setNull(field.kind());
        else
            param.setValue(field.value());
        return;
    case Rule::Number:
        param.setAsFloat(ds::parseFloat(field.asString()).value_or(rule.fallback));
        return;
    case Rule::YesOnlyForY:
        param.setAsString(field.asString() == "Y" ? "Y" : "N");
        return;
    case Rule::UpperOrN: {
        const std::string flag = field.asString();
        param.setAsString(flag.empty() ? std::string("N") : text::upperAscii(flag));
        return;
    }
    default:
        param.setAsString(field.asString());
        return;
    }
}

void composeAndRun(storedb::SqlQuery& query, std::span<const std::string_view> lines,
                   std::span<const ParamRule> rules, ds::Dataset& row, ds::Dataset& master) {
    query.close();
    query.clearSql();
    for (std::string_view line : lines) query.addLine(line);
    for (const ParamRule& rule : rules) setParam(query.paramByName(rule.param), rule, row, master);
    query.execSql();
}

}  // namespace

std::string transferredPromotionId(const std::string& headOfficeId) { return "IM" + headOfficeId; }

void insertPromotionMaster(storedb::SqlQuery& query, ds::Dataset& master) {
    composeAndRun(query, kMasterInsert, kMasterParams, master, master);
}

void insertPromotionItem(storedb::SqlQuery& query, ds::Dataset& master, ds::Dataset& items) {
    composeAndRun(query, kItemInsert, kItemParams, items, master);
}

}  // namespace qor::workflows
