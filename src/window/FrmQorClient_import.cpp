// The product editor's buttons: import the current row, undo its edit, import every listed
// row; and the lookup combos' lists, read from the store at their first drop-down.
#include <cstdint>
#include <exception>

#include "dataset/controls_disabled.h"
#include "storedb/lookup_datasets.h"
#include "storedb/product_import.h"
#include "storedb/transaction_scope.h"
#include "text/cp950.h"
#include "text/errors.h"
#include "window/FrmQorClient.h"

namespace qor::window {

namespace {

// Import-all's one transaction on the first connection: read committed, so the existence
// check of a later row sees the rows written before it in the same run.
constexpr storedb::TransactionDesc kImportTransaction{.transactionId = 1,
                                                     .isolationLevel = storedb::kReadCommitted};

}  // namespace

void TFormQorClient::wwDBLookupCombo5BeforeDropDown() { storedb::openIfClosed(store().CDS_PDITEM); }
void TFormQorClient::wwDBLookupCombo8BeforeDropDown() { storedb::openIfClosed(store().CDS_PDCLASS); }
void TFormQorClient::wwDBLookupCombo1BeforeDropDown() { storedb::openIfClosed(store().CDS_Provider); }
void TFormQorClient::wwDBLookupCombo2BeforeDropDown() { storedb::openIfClosed(store().CDS_Unit); }

void TFormQorClient::SpeedButton5Click() {
    ds::Dataset& products = store().CDS_PRODUCT;
    products.updateRecord();  // the row as shown: text still in a control included
    storedb::ProductImport import(products, store().SQLQuery1);
    if (import.importCurrentRow() == storedb::ImportResult::NoCategory) {
        dialogs_.showWarning(QOR_BIG5("分類未設置..!"));
        throw SilentAbort();
    }
}

void TFormQorClient::SpeedButton6Click() {
    // Before any download there is nothing to undo.
    if (store().CDS_PRODUCT.active()) store().CDS_PRODUCT.cancel();
}

// One transaction for the run: what the user sees and what the store holds are as if each
// row had been imported and committed alone, the first failure ending the run on its row.
void TFormQorClient::SpeedButton9Click() {
    ds::Dataset& products = store().CDS_PRODUCT;
    products.first();  // an edit in progress is posted, typed text included
    storedb::ProductImport import(products, store().SQLQuery1);
    bool noCategory = false;
    std::exception_ptr failure;
    {
        ShownWork shown(workDisplay_, QOR_BIG5("匯入商品"), ProgressUnit::Rows);
        const std::uint64_t rows = std::uint64_t(products.recordCount());
        ds::ControlsDisabled walking(products);
        storedb::TransactionScope transaction(store().SQLConnection1, kImportTransaction);
        try {
            for (std::uint64_t done = 0; !products.eof(); ++done) {
                checkpoint(done, rows);  // a stop ends the run like a failure on this row
                noCategory = import.importCurrentRow() == storedb::ImportResult::NoCategory;
                if (noCategory) break;  // the run ends on the row that failed
                products.next();
            }
        } catch (...) {
            failure = std::current_exception();
        }
        // The rows before a failure are written for good before anything is shown; a failure
        // that took the connection with it took the transaction, and is what the user sees.
        if (!failure || store().SQLConnection1.inTransaction()) transaction.commit();
    }
    if (failure) std::rethrow_exception(failure);
    if (noCategory) {
        dialogs_.showWarning(QOR_BIG5("分類未設置..!"));
        throw SilentAbort();
    }
}

}  // namespace qor::window
