#include "workflows/store_products.h"

#include "dataset/value.h"
#include "storedb/store_lookup.h"

namespace qor::workflows {

using storedb::openLookUp;

bool storeHasCode(storedb::SqlQuery& lookUp, std::string_view code) {
    openLookUp(lookUp, {"SELECT PROD_ID FROM PRODUCT WHERE PROD_ID = :PROD_ID"}, code);
    return !lookUp.isEmpty();
}

bool storeHasBarcode(storedb::SqlQuery& lookUp, std::string_view barcode) {
    openLookUp(lookUp,
               {"SELECT PROD_ID,PROD_BARCODE FROM PRODUCT ",
                " WHERE PROD_BARCODE = :PROD_BARCODE",
                " OR PROD_ID = :PROD_ID",
                " OR PROD_BARCODE = :PROD_BARCODE"},
               barcode);
    if (!lookUp.isEmpty()) return true;
    openLookUp(lookUp,
               {"SELECT PROD_ID,SAL_BARCODE FROM PROD_SALE ", " WHERE SAL_BARCODE = :SAL_BARCODE"},
               barcode);
    return !lookUp.isEmpty();
}

// The category, and beside it the product of the code when the store has one: both questions
// in one look-up whenever the category is there, as it mostly is.
ImportCheck checkImport(storedb::SqlQuery& lookUp, std::string_view code,
                        std::string_view category) {
    openLookUp(lookUp,
               {"SELECT i.PD_ITEMID, p.PROD_ID FROM PROD_ITEM i",
                " LEFT JOIN PRODUCT p ON p.PROD_ID = :PROD_ID",
                " WHERE i.PD_ITEMID = :PD_ITEMID"},
               {{"PROD_ID", code}, {"PD_ITEMID", category}});
    if (lookUp.isEmpty()) return {storeHasCode(lookUp, code), false};
    return {!ds::isNull(lookUp.fieldValue("PROD_ID")), !lookUp.fieldText("PD_ITEMID").empty()};
}

KnownProducts::KnownProducts(storedb::SqlQuery& query, const std::vector<std::string>& barcodes,
                             const std::vector<std::string>& codes, std::size_t readWholeUpTo,
                             const BetweenBatches& between) {
    // Codes and barcodes in one reading of the products.
    if (!KnownValues::readWhole(query, "SELECT PROD_ID, PROD_BARCODE FROM PRODUCT", readWholeUpTo,
                                {&codes_, &barcodes_}, between)) {
        std::vector<std::string> asked = barcodes;
        asked.insert(asked.end(), codes.begin(), codes.end());
        codes_.ask(query, "SELECT PROD_ID FROM PRODUCT", "PROD_ID", asked, between);
        barcodes_.ask(query, "SELECT PROD_BARCODE FROM PRODUCT", "PROD_BARCODE", barcodes,
                      between);
    }
    if (!salesBarcodes_.readWhole(query, "SELECT SAL_BARCODE FROM PROD_SALE", readWholeUpTo,
                                  between))
        salesBarcodes_.ask(query, "SELECT SAL_BARCODE FROM PROD_SALE", "SAL_BARCODE", barcodes,
                           between);
}

// Held in any of the three: yes; known absent from all three: no; else not known.
std::optional<bool> KnownProducts::hasBarcode(std::string_view barcode) const {
    bool unknown = false;
    for (const KnownValues* column : {&barcodes_, &codes_, &salesBarcodes_}) {
        const std::optional<bool> held = column->holds(barcode);
        if (held == true) return true;
        unknown = unknown || !held;
    }
    if (unknown) return std::nullopt;
    return false;
}

}  // namespace qor::workflows
