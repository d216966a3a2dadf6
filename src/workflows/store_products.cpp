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

}  // namespace qor::workflows
