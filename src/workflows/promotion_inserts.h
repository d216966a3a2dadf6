#pragma once
// The two statements that write a head-office promotion into the store: its master row into
// PSALE_MASTER (on SQL_M) and one row per item into PSALE_SUB (on SQL_S). Both run on
// SQLConnection2 inside the transfer's transaction; the caller starts and ends it.
//
// A taken promotion is known in the store by
//   PSALE_MASTER.MASTERBILLID  "IM" + the head-office MASTERBILLID
//   PSALE_MASTER.SOURCE_ID     the head-office MASTERBILLID (what the taken checks ask for)
//   PSALE_SUB.MASTERBILLID     the same "IM" id on every item
//
// Each statement is composed anew on its query (close, clear, lines, parameters by name,
// execute), so the driver's statement cache serves every item with one prepared statement.
// Source fields are found by name without regard to letter case. How a parameter takes its
// value from its field:
//   text      the field's text; a null gives the empty text
//   typed     the field's own value and type; a null is written as NULL
//   number    the field's text read as a number; the stated default when it is empty or no
//             number
//   constant  the stated text
#include <string>

#include "dataset/dataset.h"
#include "storedb/query.h"

namespace qor::workflows {

// The store's id of a transferred promotion: "IM" + the head-office id.
std::string transferredPromotionId(const std::string& headOfficeId);

// Inserts the current row of `master` (fields named like the store's PSALE_MASTER columns)
// through `query`. PINI_DATE takes the master's INI_DATE, OVER_AMT is a number (default 0),
// BILL_KIND the constant "A"; the others are text. Fails with "<master>: Field '<name>' not
// found" for a field the master lacks, or the store database's own text.
void insertPromotionMaster(storedb::SqlQuery& query, ds::Dataset& master);

// Inserts the current row of `items` as an item of the promotion current in `master`.
// MASTERBILLID is the master's transferred id; prices, quantities and the item's dates are
// typed; NEW_COST, VNEW_COST, PLIMIT_QTY and OLD_COST are numbers defaulting to 0, PACK_QTY
// to 1 and U_DIS to 100; SEC_DIS is "Y" only for exactly "Y", else "N"; STOP_SALE is the
// item's text upper-cased, "N" when empty; BILL_KIND is "A". Fails as the master insert does.
void insertPromotionItem(storedb::SqlQuery& query, ds::Dataset& master, ds::Dataset& items);

}  // namespace qor::workflows
