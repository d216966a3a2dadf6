#include "workflows/product_download.h"

#include "storedb/product_record.h"
#include "storedb/store_lookup.h"
#include "text/ascii.h"
#include "text/cp950.h"
#include "text/local_date.h"
#include "text/sql_literal.h"
#include "workflows/product_reconciliation.h"
#include "workflows/store_products.h"

namespace qor::workflows {

namespace {

// Days back when Ed_Day holds no decimal whole number (the empty text included).
constexpr int kDefaultDayCount = 1;

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

int dayCount(const std::string& typed) {
    return text::parseWholeNumber<int>(text::trimmedView(typed)).value_or(kDefaultDayCount);
}

std::string productStatement(bool freshGoods, int days) {
    if (freshGoods)
        return text::joinLines({"SELECT a.* ", "FROM PRODUCT a ", " where a.STOCK_QTY = 'N' "});
    const std::string cutOff = text::localDateText(days);
    return text::joinLines(
        {"SELECT a.* ", "FROM PRODUCT a ", " where a.CHG_DATE >= '" + cutOff + "'"});
}

ProductDownload::ProductDownload(HeadOffice& headOffice, storedb::StoreObjects& store,
                                 ds::Dataset& source, WorkProgress* progress)
    : headOffice_(headOffice), store_(store), source_(source), progress_(progress) {
    ds::Dataset& products = store_.CDS_PRODUCT;
    products.fieldByName("PD_ITEMID").onValidate = [this](ds::Field& f) {
        CDS_PRODUCTPD_ITEMIDValidate(f);
    };
    products.fieldByName("PD_CLASSID").onValidate = [this](ds::Field& f) {
        CDS_PRODUCTPD_CLASSIDValidate(f);
    };
    products.fieldByName("PROVIDER_ID").onValidate = [this](ds::Field& f) {
        CDS_PRODUCTPROVIDER_IDValidate(f);
    };
    store_.DS_PRODUCT.onStateChange = [this](ds::DataSource& s) { DS_PRODUCTStateChange(s); };
}

void ProductDownload::download(const std::string& dayText, bool freshGoods) {
    const std::string& caption = QOR_BIG5("下載商品資料");
    const NamedWork shown(progress_, caption, ProgressUnit::Bytes);
    headOffice_.ask(source_, productStatement(freshGoods, dayCount(dayText)), caption);
    listLacking(source_, freshGoods);
}

void ProductDownload::listLacking(ds::Dataset& source, bool freshGoods) {
    storedb::openProductEmpty(store_.CDS_PRODUCT);
    const NamedWork shown(progress_, QOR_BIG5("比對商品"), ProgressUnit::Rows);
    reconcileProducts(source, store_.CDS_PRODUCT, freshGoods, store_.SQLQuery1, progress_);
}

void ProductDownload::CDS_PRODUCTPD_ITEMIDValidate(ds::Field& Sender) {
    fillNameFromStore(store_.SQLQuery1, kCategories, Sender);
}

void ProductDownload::CDS_PRODUCTPD_CLASSIDValidate(ds::Field& Sender) {
    fillNameFromStore(store_.SQLQuery1, kAttributes, Sender);
}

void ProductDownload::CDS_PRODUCTPROVIDER_IDValidate(ds::Field& Sender) {
    fillNameFromStore(store_.SQLQuery1, kSuppliers, Sender);
}

void ProductDownload::DS_PRODUCTStateChange(ds::DataSource& /*Sender*/) {
    const std::string code = store_.CDS_PRODUCT.fieldByName("PROD_ID").asString();
    const bool lacking = !storeHasCode(store_.SQLQuery2, code);
    if (onImportControls) onImportControls(lacking);
}

}  // namespace qor::workflows
