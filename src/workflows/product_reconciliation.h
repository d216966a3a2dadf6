#pragma once
// The product reconciliation: head-office products (a product download, a promotion's item
// check) compared with the store database; those the store lacks are listed in the product
// editing dataset, pre-filled for the staff to complete and import.
#include <functional>
#include <string>

#include "dataset/dataset.h"
#include "text/work_progress.h"

namespace qor::workflows {

// For each row of `source`, from its current row to its end:
//   1. b is the row's PROD_BARCODE as text. When the store has it (`storeHas`, as
//      storeHasBarcode answers) the row is passed over.
//   2. Otherwise a row is appended to `products` and each of its fields, in record order,
//      takes the value of the source field of the same name (no value clears it). The
//      fields' validation handlers run as for any assignment; a name field they fill comes
//      later in the order and ends with the source's value.
//   3. CR_DATE and CHG_DATE take today's local date ("yyyy/mm/dd"), PROD_ID takes b,
//      PD_ITEMID and PD_ITEMNAME the empty text.
//   4. With `freshGoods`: PD_ITEMID takes "0109099", then P_LTCOST, SALE_PRICE, PSALE_PRICE,
//      VIP_PRICE, CR_PRICE, P_PRICE, P_PRICE2 and N_PRICE take 0.
//   5. The row is posted (in memory only).
// Rows are compared with the store only: two source rows with one new barcode are both
// listed. `products` must be open (opened empty by the caller); a closed `source` (an empty
// reply) lists nothing. Afterwards `source` stands past its last row.
//
// A failure ends the walk where it happens and undoes nothing: rows listed before stay
// listed, a row being filled stays in insert state holding what it was given, `source`
// stays on the failing row. Texts: "<source>: Field '<name>' not found" (the source lacks
// a field of the record), "Field '<label>' must have a value" (the post),
// "Invalid value for field '<label>'", or the store database's own text.
//
// `progress`, when given, hears before each source row how many rows of the source are done
// of how many; a stop asked for there ends the walk with qor::SilentAbort before that row,
// the rows listed so far staying listed and `source` standing on the row not looked at.
void reconcileProducts(ds::Dataset& source, ds::Dataset& products, bool freshGoods,
                       const std::function<bool(const std::string& barcode)>& storeHas,
                       WorkProgress* progress = nullptr);

}  // namespace qor::workflows
