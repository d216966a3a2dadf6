// The product editor's buttons: import the current row, undo its edit, import every listed
// row; and the lookup combos' lists, read from the store at their first drop-down.
#include <exception>

#include "storedb/lookup_datasets.h"
#include "storedb/product_import.h"
#include "text/cp950.h"
#include "text/errors.h"
#include "window/FrmQorClient.h"

namespace qor::window {

namespace {

constexpr storedb::TransactionDesc kImportTransaction{1, 0, 0, 0};  // read committed

// The transaction of one import-all run: committed by commit(), rolled back on every other
// way out, so no run leaves it open and no row of it stays half-done.
class ImportTransaction {
public:
    explicit ImportTransaction(storedb::SqlConnection& connection) : connection_(connection) {
        connection_.startTransaction(kImportTransaction);
    }
    ~ImportTransaction() {
        if (committed_ || !connection_.inTransaction()) return;
        try {
            connection_.rollback(kImportTransaction);
        } catch (...) {
            // The attachment is gone with its transaction; the server has undone it.
        }
    }
    ImportTransaction(const ImportTransaction&) = delete;
    ImportTransaction& operator=(const ImportTransaction&) = delete;

    void commit() {
        connection_.commit(kImportTransaction);
        committed_ = true;
    }

private:
    storedb::SqlConnection& connection_;
    bool committed_ = false;
};

// A walk over the listed rows shows only where it ends: grid and editor follow once.
class DisplayUpdatesSuspended {
public:
    explicit DisplayUpdatesSuspended(ds::Dataset& dataset) : dataset_(dataset) {
        dataset_.disableControls();
    }
    ~DisplayUpdatesSuspended() {
        try {
            dataset_.enableControls();
        } catch (...) {
            // Showing the row again is no part of the import; it is shown at the next change.
        }
    }
    DisplayUpdatesSuspended(const DisplayUpdatesSuspended&) = delete;
    DisplayUpdatesSuspended& operator=(const DisplayUpdatesSuspended&) = delete;

private:
    ds::Dataset& dataset_;
};

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
        DisplayUpdatesSuspended walking(products);
        ImportTransaction transaction(store().SQLConnection1);
        try {
            while (!products.eof()) {
                noCategory = import.importCurrentRow() == storedb::ImportResult::NoCategory;
                if (noCategory) break;  // the run ends on the row that failed
                products.next();
            }
        } catch (...) {
            failure = std::current_exception();
        }
        // The rows before a failure are written for good before anything is shown.
        transaction.commit();
    }
    if (failure) std::rethrow_exception(failure);
    if (noCategory) {
        dialogs_.showWarning(QOR_BIG5("分類未設置..!"));
        throw SilentAbort();
    }
}

}  // namespace qor::window
