#pragma once
// Whether the store has a product: the one place that asks the store's PRODUCT and PROD_SALE
// tables about it. The values are bound as parameters (storedb::openLookUp), so a quote is
// matched as itself and a value longer than its column finds nothing.
#include <string_view>

#include "storedb/query.h"

namespace qor::workflows {

// A product coded `code` (PRODUCT.PROD_ID): what the editor's import controls and the import
// ask of a listed row.
bool storeHasCode(storedb::SqlQuery& lookUp, std::string_view code);

// A product whose barcode or code is `barcode` (PRODUCT), or a sales barcode `barcode`
// (PROD_SALE): what the comparison asks of each head-office product.
bool storeHasBarcode(storedb::SqlQuery& lookUp, std::string_view barcode);

// What the import asks before it writes a row, in one look-up where it can.
struct ImportCheck {
    bool codeInStore = false;    // a product coded like the row
    bool categoryKnown = false;  // the row's category is one of PROD_ITEM's
};
ImportCheck checkImport(storedb::SqlQuery& lookUp, std::string_view code,
                        std::string_view category);

}  // namespace qor::workflows
