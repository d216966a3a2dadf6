// Promotion item check and transfer. The check asks the head office for the products the
// current promotion's items name; the store must have every one of them (the staff import
// the missing ones first) before the promotion is written, master and items, in one
// transaction on the second connection.
#include <cstdint>
#include <string>

#include "dataset/controls_disabled.h"
#include "storedb/product_record.h"
#include "storedb/promotion_inserts.h"
#include "storedb/store_lookup.h"
#include "storedb/transaction_scope.h"
#include "text/cp950.h"
#include "text/sql_literal.h"
#include "window/FrmQorClient.h"
#include "window/hourglass_cursor.h"
#include "window/statement_dump.h"

namespace qor::window {

namespace {

std::string itemCheckStatement(const std::string& masterId) {
    const std::string condition =
        " where PROD_ID IN (SELECT PROD_ID FROM PSALE_SUB WHERE MASTERBILLID = " +
        text::sqlLiteral(masterId) + ")";
    return text::joinLines({"SELECT * ", "FROM PRODUCT ", condition});
}

std::string transferFailure(const std::string& failingItem, const std::string& reason) {
    std::string text = QOR_BIG5("資料寫入失敗..!") + "\n";
    if (!failingItem.empty()) text += "PROD_ID: " + failingItem + "\n";
    return text + reason;
}

}  // namespace

void TFormQorClient::SpeedButton7Click() {
    ShownWork shown(workDisplay_, QOR_BIG5("檢查販促品項"), ProgressUnit::Bytes);
    const std::string statement =
        itemCheckStatement(CDS_PSaleSub.fieldByName("MASTERBILLID").asString());
    writeStatementDump(DataModHttp().dumpDir(), statement);
    // A failed or stopped request ends here, the product list left as it was.
    DataModHttp().OpenRemoteQuery(CDS_Source, statement);
    storedb::openProductEmpty(store().CDS_PRODUCT);
    ReconcileProducts(CDS_Source, store().CDS_PRODUCT, false);

    if (store().CDS_PRODUCT.recordCount() != 0)
        SwitchTabs(TabSwitch::ItemCheck);
    else
        SpeedButton8->click();
}

void TFormQorClient::SpeedButton8Click() {
    const std::string id = store().CDS_PsaleMaster.fieldByName("MASTERBILLID").asString();
    storedb::SqlQuery& lookUp = store().SQLQuery1;
    storedb::openLookUp(lookUp, {"SELECT * FROM PSALE_MASTER WHERE SOURCE_ID = :SOURCE_ID"}, id);
    if (lookUp.isEmpty()) TransferPromotion();
}

void TFormQorClient::TransferPromotion() {
    if (!CDS_PSaleSub.active() || CDS_PSaleSub.recordCount() == 0) return;
    std::string failingItem;
    try {
        ShownWork shown(workDisplay_, QOR_BIG5("轉入販促資料"), ProgressUnit::Items);
        HourglassCursor hourglass;
        storedb::TransactionScope transfer(store().SQLConnection2, storedb::kTransferTransaction);
        storedb::insertPromotionMaster(store().SQL_M, store().CDS_PsaleMaster);
        writePromotionItems(failingItem);
        transfer.commit();
    } catch (const SilentAbort&) {
        throw;  // stopped by the staff: rolled back whole, nothing to tell
    } catch (const std::exception& e) {
        // Rolled back, the item list shown again and the cursor back before the box.
        dialogs().showWarning(transferFailure(failingItem, e.what()));
    }
}

// Every item that names a product, in list order. `failingItem` holds the PROD_ID being
// written while it is written.
void TFormQorClient::writePromotionItems(std::string& failingItem) {
    ds::Dataset& items = CDS_PSaleSub;
    items.first();
    ds::ControlsDisabled held(items);
    const std::uint64_t count = std::uint64_t(items.recordCount());
    std::uint64_t done = 0;
    for (; !items.eof(); items.next(), ++done) {
        checkpoint(done, count);  // a stop rolls back the master and the items before
        const std::string productId = items.fieldByName("PROD_ID").asString();
        if (productId.empty()) continue;  // names no product
        failingItem = productId;
        storedb::insertPromotionItem(store().SQL_S, store().CDS_PsaleMaster, items);
        failingItem.clear();
    }
    checkpoint(count, count);  // a stop asked for during the last item undoes it all the same
}

}  // namespace qor::window
