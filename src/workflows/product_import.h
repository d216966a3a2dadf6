#pragma once
// Product import: the rows listed in CDS_PRODUCT (completed by the staff in the editor)
// written into the store's PRODUCT table, one at a time or all at once.
#include "dataset/dataset.h"
#include "storedb/store_objects.h"
#include "storedb/transaction.h"
#include "text/dialogs.h"
#include "text/work_progress.h"

namespace qor::workflows {

// Import-all's one transaction on SQLConnection1: read committed, so the existence check of
// a later row sees the rows written before it in the same run.
inline constexpr storedb::TransactionDesc kImportTransaction{
    .transactionId = 1, .isolationLevel = storedb::kReadCommitted};

class ProductImport {
public:
    ProductImport(storedb::StoreObjects& store, Dialogs& dialogs, WorkProgress* progress)
        : store_(store), dialogs_(dialogs), progress_(progress) {}

    // Imports the current row of CDS_PRODUCT as shown (text typed and not yet stored
    // included) on SQLConnection1 through SQLQuery1, committed on its own. A code the store
    // has: nothing, silently. A category it lacks: the warning "分類未設置..!", then a
    // silent abort; nothing written. A database error: its text; nothing written. The row
    // stays listed in its state.
    void importCurrent();
    // Cancels the current row's unposted changes (an appended row goes); nothing before any
    // download.
    void undo();
    // Imports every listed row from the first (an edit in progress posted first), in one
    // transaction (kImportTransaction), passing over codes the store has (a code listed twice
    // is written once). The first failure ends the run on its row: the rows before it are
    // committed before its box shows, it and the rows after are not written. A stop asked
    // for between rows ends the run the same way, silently. Never leaves the transaction open.
    void importAll();

private:
    storedb::StoreObjects& store_;
    Dialogs& dialogs_;
    WorkProgress* progress_;
};

}  // namespace qor::workflows
