#pragma once
// Promotions: the head office's promotions the store has not taken, listed in the store's
// master layout (CDS_PsaleMaster) with the current one's items (CDS_PSaleSub); the item check,
// which asks for the products the items name; and the transfer, which writes the current
// master and its items in one transaction on the second connection.
#include <functional>
#include <string>

#include "dataset/dataset.h"
#include "dataset/datasource.h"
#include "storedb/store_objects.h"
#include "storedb/transaction.h"
#include "text/dialogs.h"
#include "text/work_progress.h"
#include "workflows/head_office.h"
#include "workflows/product_download.h"

namespace qor::workflows {

// The transfer's one transaction, on SQLConnection2.
inline constexpr storedb::TransactionDesc kTransferTransaction{
    .transactionId = 1, .globalId = 0, .isolationLevel = storedb::kReadCommitted,
    .customIsolation = 0};

// The statements sent to the head office: the masters of bill type '1', the items of one
// master in KEYINTIME order, and the products the items of one master name.
std::string promotionListStatement();
std::string promotionItemsStatement(const std::string& masterId);
std::string itemCheckStatement(const std::string& masterId);

// Taken: the store holds a master copied from `headOfficeId` (its SOURCE_ID).
bool takenByStore(storedb::SqlQuery& lookUp, const std::string& headOfficeId);

class Promotions {
public:
    // Binds CDS_PsaleMaster's after-open and after-scroll to the item fetch. `source`
    // (CDS_Source) receives the head office's masters and the item check's products, which
    // `products` lists.
    Promotions(HeadOffice& headOffice, storedb::StoreObjects& store, ds::Dataset& source,
               ProductDownload& products, Dialogs& dialogs, WorkProgress* progress);

    // Lists every head-office master of bill type '1' the store has not taken, copied by
    // field name, and stands on the first. Open and every move of the list fetch the current
    // master's items: n listed masters make n + 2 fetches. A failed or stopped request leaves
    // the list empty. A stop between masters keeps those listed so far (the one being added
    // finished first) and still moves to the first.
    void download();

    // The items of the master list's current row into CDS_PSaleSub (a list without one, or on
    // a blank new row, asks for the empty id). A fetch that fails or is stopped leaves the
    // items empty, so nothing of another master can be checked or transferred.
    void CDS_PsaleMasterAfterOpen(ds::Dataset& DataSet);

    // The item check: the statement is kept in 123.TXT beside the reply dump, then the head
    // office's products of the items' promotion are listed in CDS_PRODUCT as the product
    // download lists them. True when the store lacks any of them (nothing written); then the
    // staff complete and import them first. A dump that cannot be written ends the check with
    //     Cannot create file "<path>". <reason>
    // before anything is sent.
    bool checkItems();

    // The transfer check: a master the store has taken already is passed over in silence;
    // any other is transferred (TransferPromotion).
    void transferUntaken();

    // Writes the current master and its items (those with a PROD_ID, in list order) in one
    // transaction on SQLConnection2, the item list holding still, onBusy told around it. An
    // item list that is not the current master's (an item whose MASTERBILLID differs) writes
    // nothing. The promotion is written whole or not at all: any failure rolls back and
    // shows the warning
    //     資料寫入失敗..!
    //     PROD_ID: <the item being written, or the one of another master>
    //     <what failed>
    // A promotion without items writes nothing. A stop rolls back whole, silently.
    void TransferPromotion();

    // Told true before a long store-database write and false after it, before any box.
    std::function<void(bool busy)> onBusy;

    // The current master's items; edited in place, in memory only.
    ds::Dataset CDS_PSaleSub{"CDS_PSaleSub"};
    ds::DataSource DS_PSaleSub{"DS_PSaleSub", &CDS_PSaleSub};

private:
    void dropItems() noexcept;
    void writeItems(std::string& failingItem);

    HeadOffice& headOffice_;
    storedb::StoreObjects& store_;
    ds::Dataset& source_;
    ProductDownload& products_;
    Dialogs& dialogs_;
    WorkProgress* progress_;
};

}  // namespace qor::workflows
