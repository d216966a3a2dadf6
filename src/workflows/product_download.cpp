#include "workflows/product_download.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "dataset/value_text.h"
#include "storedb/product_record.h"
#include "storedb/store_lookup.h"
#include "text/ascii.h"
#include "text/cp950.h"
#include "text/local_date.h"
#include "text/sql_literal.h"
#include "workflows/known_values.h"
#include "workflows/product_reconciliation.h"
#include "workflows/store_products.h"

namespace qor::workflows {

namespace {

// Days back when Ed_Day holds no decimal whole number (the empty text included).
constexpr int kDefaultDayCount = 1;

// A code field of the product record and the store table that names its codes.
struct CodeTable {
    const char* name;
    const char* statement;   // one line, the code at its marker
    const char* codeColumn;
    const char* nameField;   // in the table and in the product record
};

constexpr CodeTable kCategories{"PROD_ITEM",
                                "SELECT * FROM PROD_ITEM WHERE PD_ITEMID = :PD_ITEMID",
                                "PD_ITEMID", "PD_ITEMNAME"};
constexpr CodeTable kAttributes{"PROD_CLASS",
                                "SELECT * FROM PROD_CLASS WHERE PD_CLASSID = :PD_CLASSID",
                                "PD_CLASSID", "PD_CLASSNAME"};
constexpr CodeTable kSuppliers{"PROVIDER",
                               "SELECT * FROM PROVIDER WHERE PROVIDER_ID = :PROVIDER_ID",
                               "PROVIDER_ID", "PROVIDER_NAME"};

// The code being assigned is looked up (in `known` when the table was read whole); when the
// store has it, the row's name field takes the store's name. A code the store lacks is
// accepted and leaves the name as it was.
void fillNameFromStore(storedb::SqlQuery& lookUp, const CodeTable& table, ds::Field& code,
                       const KnownValues* known) {
    if (known && known->whole()) {
        if (const std::string* name = known->with(code.asString()))
            code.dataset().fieldByName(table.nameField).setAsString(*name);
        return;
    }
    storedb::openLookUp(lookUp, {table.statement}, code.asString());
    if (!lookUp.fieldText(table.codeColumn).empty())
        code.dataset().fieldByName(table.nameField).setAsString(lookUp.fieldText(table.nameField));
}

std::string wholeTable(const CodeTable& table) {
    return std::string("SELECT ") + table.codeColumn + ", " + table.nameField + " FROM " +
           table.name;
}

// Tables read whole for a comparison have at most this many rows; a larger one is asked row
// by row. The code tables are far smaller.
constexpr std::size_t kCodeTableRows = 20000;
// As many rows as a table can hold, for reading it whole whatever its size.
constexpr std::size_t kEveryRow = std::size_t(1) << 40;
// The store's products are read whole when there are at most this many times the download's.
constexpr std::size_t kWholeStoreFactor = 5;

// The barcodes of `source`'s rows from its current one, and the codes those rows will be
// listed under (the barcode as the code field holds it), with the empty code of a new row.
void downloadValues(ds::Dataset& source, const ds::Field& codeField,
                    std::vector<std::string>& barcodes, std::vector<std::string>& codes) {
    codes.push_back("");
    const ds::Field* barcode = source.findField("PROD_BARCODE");
    if (!barcode || !source.active()) return;
    for (int row = std::max(source.currentRow(), 0); row < source.rowCount(); ++row) {
        barcodes.push_back(ds::valueToText(source.valueAt(row, *barcode)));
        codes.push_back(text::cutToBytes(barcodes.back(), std::size_t(codeField.size())));
    }
}

}  // namespace

struct ProductDownload::Known {
    std::unique_ptr<KnownProducts> products;  // none: asked row by row
    KnownValues categories, attributes, suppliers;
};

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

ProductDownload::~ProductDownload() = default;

// What the comparison and the handlers it sets off will ask of the store is learnt at its
// start (unless asked row by row); anything not learnt is asked as it comes.
void ProductDownload::listLacking(ds::Dataset& source, bool freshGoods) {
    ds::Dataset& products = store_.CDS_PRODUCT;
    storedb::openProductEmpty(products);
    const NamedWork shown(progress_, QOR_BIG5("比對商品"), ProgressUnit::Rows);
    Known known;
    if (lookUps_ != StoreLookUps::ByRow) {
        std::vector<std::string> barcodes, codes;
        downloadValues(source, products.fieldByName("PROD_ID"), barcodes, codes);
        const std::size_t readWholeUpTo = lookUps_ == StoreLookUps::ReadWhole   ? kEveryRow
                                          : lookUps_ == StoreLookUps::InBatches ? 0
                                          : kWholeStoreFactor * barcodes.size();
        storedb::SqlQuery& query = store_.SQLQuery1;
        // The window answers, and a stop is taken, between the batches of what is learnt.
        const std::uint64_t rows =
            source.active() ? static_cast<std::uint64_t>(source.recordCount()) : 0;
        const BetweenBatches between = [this, rows] {
            if (progress_) progress_->checkpoint(0, rows);
        };
        known.products =
            std::make_unique<KnownProducts>(query, barcodes, codes, readWholeUpTo, between);
        known.categories.readWhole(query, wholeTable(kCategories), kCodeTableRows, between);
        known.attributes.readWhole(query, wholeTable(kAttributes), kCodeTableRows, between);
        known.suppliers.readWhole(query, wholeTable(kSuppliers), kCodeTableRows, between);
    }
    known_ = &known;
    try {
        reconcileProducts(source, products, freshGoods,
                          [this](const std::string& barcode) { return storeHas(barcode); },
                          progress_);
    } catch (...) {
        known_ = nullptr;
        throw;
    }
    known_ = nullptr;
}

bool ProductDownload::storeHas(const std::string& barcode) {
    if (known_ && known_->products)
        if (const std::optional<bool> held = known_->products->hasBarcode(barcode)) return *held;
    return storeHasBarcode(store_.SQLQuery1, barcode);
}

void ProductDownload::CDS_PRODUCTPD_ITEMIDValidate(ds::Field& Sender) {
    fillNameFromStore(store_.SQLQuery1, kCategories, Sender, known_ ? &known_->categories : nullptr);
}

void ProductDownload::CDS_PRODUCTPD_CLASSIDValidate(ds::Field& Sender) {
    fillNameFromStore(store_.SQLQuery1, kAttributes, Sender, known_ ? &known_->attributes : nullptr);
}

void ProductDownload::CDS_PRODUCTPROVIDER_IDValidate(ds::Field& Sender) {
    fillNameFromStore(store_.SQLQuery1, kSuppliers, Sender, known_ ? &known_->suppliers : nullptr);
}

void ProductDownload::DS_PRODUCTStateChange(ds::DataSource& /*Sender*/) {
    const std::string code = store_.CDS_PRODUCT.fieldByName("PROD_ID").asString();
    std::optional<bool> held;
    if (known_ && known_->products) held = known_->products->hasCode(code);
    const bool lacking = !(held ? *held : storeHasCode(store_.SQLQuery2, code));
    if (onImportControls) onImportControls(lacking);
}

}  // namespace qor::workflows
