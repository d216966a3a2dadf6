// Product download: the head office's recently changed products (or its fresh goods) are
// compared with the store, and those the store lacks are listed for the staff to complete.
// Also the product editing dataset's own handlers, which the listing runs field by field:
// the code validations and the import controls' check.
#include <QString>
#include <string>

#include "storedb/product_reconciliation.h"
#include "storedb/product_record.h"
#include "storedb/store_lookup.h"
#include "text/cp950.h"
#include "text/local_date.h"
#include "text/sql_literal.h"
#include "window/FrmQorClient.h"

namespace qor::window {

namespace {

// Days back when Ed_Day holds no decimal whole number (the empty text included).
constexpr int kDefaultDayCount = 1;

int dayCount(const QString& typed) {
    bool isNumber = false;
    const int days = typed.toInt(&isNumber, 10);
    return isNumber ? days : kDefaultDayCount;
}

// Fresh goods are the products that deduct no stock, whenever they changed; otherwise the
// products changed on or after the date `days` days before today.
std::string productStatement(bool freshGoods, int days) {
    if (freshGoods)
        return text::joinLines({"SELECT a.* ", "FROM PRODUCT a ", " where a.STOCK_QTY = 'N' "});
    const std::string cutOff = text::localDateText(days);
    return text::joinLines(
        {"SELECT a.* ", "FROM PRODUCT a ", " where a.CHG_DATE >= '" + cutOff + "'"});
}

// A code field of the product record and the store table that names its codes.
struct CodeTable {
    const char* statement;   // one line, the code at its marker
    const char* codeColumn;
    const char* nameField;   // in the table and in the product record
};

constexpr CodeTable kCategories{"SELECT * FROM PROD_ITEM WHERE PD_ITEMID = :PD_ITEMID",
                                "PD_ITEMID", "PD_ITEMNAME"};
constexpr CodeTable kAttributes{"SELECT * FROM PROD_CLASS WHERE PD_CLASSID = :PD_CLASSID",
                                "PD_CLASSID", "PD_CLASSNAME"};
constexpr CodeTable kSuppliers{"SELECT * FROM PROVIDER WHERE PROVIDER_ID = :PROVIDER_ID",
                               "PROVIDER_ID", "PROVIDER_NAME"};

// The code being assigned is looked up; when the store has it, the row's name field takes
// the store's name. A code the store lacks is accepted and leaves the name as it was.
void fillNameFromStore(storedb::SqlQuery& lookUp, const CodeTable& table, ds::Field& code) {
    storedb::openLookUp(lookUp, {table.statement}, code.asString());
    if (!lookUp.fieldText(table.codeColumn).empty())
        code.dataset().fieldByName(table.nameField).setAsString(lookUp.fieldText(table.nameField));
}

}  // namespace

void TFormQorClient::bindProductHandlers() {
    ds::Dataset& products = store().CDS_PRODUCT;
    products.fieldByName("PD_ITEMID").onValidate = [this](ds::Field& f) {
        CDS_PRODUCTPD_ITEMIDValidate(f);
    };
    products.fieldByName("PD_CLASSID").onValidate = [this](ds::Field& f) {
        CDS_PRODUCTPD_CLASSIDValidate(f);
    };
    products.fieldByName("PROVIDER_ID").onValidate = [this](ds::Field& f) {
        CDS_PRODUCTPROVIDER_IDValidate(f);
    };
    store().DS_PRODUCT.onStateChange = [this](ds::DataSource& s) { DS_PRODUCTStateChange(s); };
}

void TFormQorClient::SpeedButton2Click() {
    ShownWork shown(workDisplay_, QOR_BIG5("下載商品資料"), ProgressUnit::Bytes);
    const int days = dayCount(Ed_Day->text());
    SwitchTabs(TabSwitch::ProductButton);
    const bool freshGoods = CheckBox1->isChecked();
    // A failed or stopped request ends here, the products listed before left as they are.
    DataModHttp().OpenRemoteQuery(CDS_Source, productStatement(freshGoods, days));
    storedb::openProductEmpty(store().CDS_PRODUCT);
    ReconcileProducts(CDS_Source, store().CDS_PRODUCT, freshGoods);
}

void TFormQorClient::ReconcileProducts(ds::Dataset& source, ds::Dataset& products,
                                       bool freshGoods) {
    ShownWork shown(workDisplay_, QOR_BIG5("比對商品"), ProgressUnit::Rows);
    // The grid shows the list once it is made, on every way out; the editor and the import
    // controls still follow each row, since every state change checks the store.
    GridUpdatesHeld listing(*DBGrid1);
    storedb::reconcileProducts(source, products, freshGoods, store().SQLQuery1, progress());
}

void TFormQorClient::CDS_PRODUCTPD_ITEMIDValidate(ds::Field& Sender) {
    fillNameFromStore(store().SQLQuery1, kCategories, Sender);
}

void TFormQorClient::CDS_PRODUCTPD_CLASSIDValidate(ds::Field& Sender) {
    fillNameFromStore(store().SQLQuery1, kAttributes, Sender);
}

void TFormQorClient::CDS_PRODUCTPROVIDER_IDValidate(ds::Field& Sender) {
    fillNameFromStore(store().SQLQuery1, kSuppliers, Sender);
}

// The import controls follow whether the store already has the current row's code. The
// editor (Panel8) stays usable either way; it is never disabled.
void TFormQorClient::DS_PRODUCTStateChange(ds::DataSource& /*Sender*/) {
    // A closed or empty dataset reads as the empty code.
    const std::string code = store().CDS_PRODUCT.fieldByName("PROD_ID").asString();
    storedb::SqlQuery& lookUp = store().SQLQuery2;
    storedb::openLookUp(lookUp,
                        {"SELECT PROD_ID,PROD_BARCODE FROM PRODUCT", " WHERE PROD_ID = :PROD_ID"},
                        code);
    if (lookUp.isEmpty()) {
        SpeedButton5->setEnabled(true);
        Panel8->setEnabled(true);
        Panel9->setEnabled(true);
    } else {
        SpeedButton5->setEnabled(false);
        Panel9->setEnabled(false);
    }
}

}  // namespace qor::window
