#include "workflows/product_import.h"

#include <cstdint>
#include <exception>

#include "dataset/controls_disabled.h"
#include "storedb/transaction_scope.h"
#include "text/cp950.h"
#include "text/errors.h"
#include "workflows/product_row_import.h"

namespace qor::workflows {

namespace {

[[noreturn]] void warnNoCategory(Dialogs& dialogs) {
    dialogs.showWarning(QOR_BIG5("分類未設置..!"));
    throw SilentAbort();
}

}  // namespace

void ProductImport::importCurrent() {
    ds::Dataset& products = store_.CDS_PRODUCT;
    products.updateRecord();  // the row as shown: text still in a control included
    ProductRowImport import(products, store_.SQLQuery1);
    if (import.importCurrentRow() == ImportResult::NoCategory) warnNoCategory(dialogs_);
}

void ProductImport::undo() {
    if (store_.CDS_PRODUCT.active()) store_.CDS_PRODUCT.cancel();
}

// One transaction for the run: what the staff see and what the store holds are as if each
// row had been imported and committed alone, the first failure ending the run on its row.
void ProductImport::importAll() {
    ds::Dataset& products = store_.CDS_PRODUCT;
    products.first();  // an edit in progress is posted, typed text included
    ProductRowImport import(products, store_.SQLQuery1);
    bool noCategory = false;
    std::exception_ptr failure;
    {
        const NamedWork shown(progress_, QOR_BIG5("匯入商品"), ProgressUnit::Rows);
        const std::uint64_t rows = std::uint64_t(products.recordCount());
        ds::ControlsDisabled walking(products);
        storedb::TransactionScope transaction(store_.SQLConnection1, kImportTransaction);
        try {
            for (std::uint64_t done = 0; !products.eof(); ++done) {
                // A stop ends the run like a failure on this row.
                if (progress_) progress_->checkpoint(done, rows);
                noCategory = import.importCurrentRow() == ImportResult::NoCategory;
                if (noCategory) break;  // the run ends on the row that failed
                products.next();
            }
        } catch (...) {
            failure = std::current_exception();
        }
        // The rows before a failure are written for good before anything is shown; a failure
        // that took the connection with it took the transaction, and is what the staff see.
        if (!failure || store_.SQLConnection1.inTransaction()) transaction.commit();
    }
    if (failure) std::rethrow_exception(failure);
    if (noCategory) warnNoCategory(dialogs_);
}

}  // namespace qor::workflows
