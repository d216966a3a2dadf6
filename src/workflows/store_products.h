#pragma once
// Whether the store has a product: the one place that asks the store's PRODUCT and PROD_SALE
// tables about it. The values are bound as parameters (storedb::openLookUp), so a quote is
// matched as itself and a value longer than its column finds nothing. One look-up a question;
// a comparison of many products learns the answers at its start instead (KnownProducts).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storedb/query.h"
#include "workflows/known_values.h"

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

// The answers to storeHasBarcode and storeHasCode for one comparison, learnt at its start: the
// store's codes, barcodes and sales barcodes read whole when each table has at most
// `readWholeUpTo` rows (a download much smaller than the store does not read the whole
// store), otherwise asked in batches for the values given. A question about a value neither
// read nor asked gets nullopt, and is then asked on its own.
class KnownProducts {
public:
    // `barcodes`: the download's barcodes; `codes`: the codes its rows will be listed under.
    KnownProducts(storedb::SqlQuery& query, const std::vector<std::string>& barcodes,
                  const std::vector<std::string>& codes, std::size_t readWholeUpTo,
                  const BetweenBatches& between = {});

    std::optional<bool> hasBarcode(std::string_view barcode) const;
    std::optional<bool> hasCode(std::string_view code) const { return codes_.holds(code); }

private:
    KnownValues codes_, barcodes_, salesBarcodes_;
};

}  // namespace qor::workflows
