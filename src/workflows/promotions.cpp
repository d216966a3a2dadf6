#include "workflows/promotions.h"

#include <cstdint>

#include "dataset/controls_disabled.h"
#include "storedb/store_lookup.h"
#include "storedb/transaction_scope.h"
#include "text/cp950.h"
#include "text/errors.h"
#include "text/sql_literal.h"
#include "workflows/promotion_inserts.h"
#include "workflows/statement_dump.h"

namespace qor::workflows {

namespace {

// Opens the master list empty with the store's PSALE_MASTER layout.
constexpr const char* kEmptyMasterList = "select * from psale_master where masterbillid = '-1' ";

const std::string& listCaption() { return QOR_BIG5("下載販促資料"); }

// A new master row with every field's value from the source field of the same name, typed
// as it came; columns the store lacks are left behind.
void appendCopy(ds::Dataset& masters, ds::Dataset& source) {
    masters.append();  // fetches the blank row's (no) items
    for (int i = 0; i < masters.fieldCount(); ++i) {
        ds::Field& field = masters.field(i);
        field.setValue(source.fieldByName(field.fieldName()).value());
    }
    masters.post();
}

std::string transferFailure(const std::string& failingItem, const std::string& reason) {
    std::string text = QOR_BIG5("資料寫入失敗..!") + "\n";
    if (!failingItem.empty()) text += "PROD_ID: " + failingItem + "\n";
    return text + reason;
}

// Ids compare as the database compares them: trailing blanks aside.
bool sameId(std::string_view a, std::string_view b) {
    while (!a.empty() && a.back() == ' ') a.remove_suffix(1);
    while (!b.empty() && b.back() == ' ') b.remove_suffix(1);
    return a == b;
}

// Told true for as long as it lives.
class Busy {
public:
    explicit Busy(const std::function<void(bool)>& tell) : tell_(tell) {
        if (tell_) tell_(true);
    }
    ~Busy() {
        if (tell_) tell_(false);
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    const std::function<void(bool)>& tell_;
};

}  // namespace

std::string promotionListStatement() {
    return text::joinLines({"SELECT a.* ", "FROM PSALE_MASTER a ", " WHERE A.BILL_TYPE = '1' "});
}

std::string promotionItemsStatement(const std::string& masterId) {
    return text::joinLines({"SELECT * ", "FROM PSALE_SUB ",
                            " where MASTERBILLID = " + text::sqlLiteral(masterId),
                            " ORDER BY KEYINTIME "});
}

std::string itemCheckStatement(const std::string& masterId) {
    const std::string condition =
        " where PROD_ID IN (SELECT PROD_ID FROM PSALE_SUB WHERE MASTERBILLID = " +
        text::sqlLiteral(masterId) + ")";
    return text::joinLines({"SELECT * ", "FROM PRODUCT ", condition});
}

bool takenByStore(storedb::SqlQuery& lookUp, const std::string& headOfficeId) {
    storedb::openLookUp(lookUp,
                        {"SELECT MASTERBILLID FROM PSALE_MASTER ", " WHERE SOURCE_ID = :SOURCE_ID"},
                        headOfficeId);
    return !lookUp.isEmpty();
}

Promotions::Promotions(HeadOffice& headOffice, storedb::StoreObjects& store, ds::Dataset& source,
                       ProductDownload& products, Dialogs& dialogs, WorkProgress* progress)
    : headOffice_(headOffice),
      store_(store),
      source_(source),
      products_(products),
      dialogs_(dialogs),
      progress_(progress) {
    ds::Dataset& masters = store_.CDS_PsaleMaster;
    masters.afterOpen = [this](ds::Dataset& d) { CDS_PsaleMasterAfterOpen(d); };
    masters.afterScroll = [this](ds::Dataset& d) { CDS_PsaleMasterAfterOpen(d); };
}

void Promotions::download() {
    const NamedWork shown(progress_, listCaption(), ProgressUnit::Rows);
    ds::Dataset& masters = store_.CDS_PsaleMaster;
    masters.close();
    masters.setCommandText(kEmptyMasterList);
    masters.open();

    // A failed or stopped request leaves the list empty.
    headOffice_.ask(source_, promotionListStatement(), listCaption());
    if (source_.active()) {
        const std::uint64_t rows = std::uint64_t(source_.recordCount());
        std::uint64_t done = 0;
        for (source_.first(); !source_.eof(); source_.next(), ++done) {
            if (progress_) {
                progress_->step(done, rows);
                // A stop keeps the masters listed so far; the first one's items still come.
                if (progress_->stopRequested()) {
                    progress_->stopHandled();
                    break;
                }
            }
            const std::string id = source_.fieldByName("MASTERBILLID").asString();
            // The new row's item fetch is no place to stop: the row would be left half added.
            const StopsHeld wholeRow(progress_);
            if (!takenByStore(store_.SQLQuery1, id)) appendCopy(masters, source_);
        }
    }
    masters.first();
}

// Whichever dataset calls, the items are those of the master list's current row.
void Promotions::CDS_PsaleMasterAfterOpen(ds::Dataset& /*DataSet*/) {
    const std::string id = store_.CDS_PsaleMaster.fieldByName("MASTERBILLID").asString();
    try {
        headOffice_.ask(CDS_PSaleSub, promotionItemsStatement(id), listCaption());
    } catch (...) {
        dropItems();
        throw;
    }
}

// The items' columns stay, so the grid keeps its titles; their rows go.
void Promotions::dropItems() noexcept {
    try {
        if (!CDS_PSaleSub.active()) return;
        ds::Table empty = CDS_PSaleSub.toTable();
        empty.rows.clear();
        CDS_PSaleSub.close();
        CDS_PSaleSub.clearFields();
        CDS_PSaleSub.openWith(std::move(empty));
    } catch (...) {
        try {
            CDS_PSaleSub.close();
        } catch (...) {
        }
    }
}

bool Promotions::checkItems() {
    const std::string& caption = QOR_BIG5("檢查販促品項");
    const NamedWork shown(progress_, caption, ProgressUnit::Bytes);
    const std::string statement =
        itemCheckStatement(CDS_PSaleSub.fieldByName("MASTERBILLID").asString());
    writeStatementDump(headOffice_.gateway().dumpDir(), statement);
    // A failed or stopped request ends here, the product list left as it was.
    headOffice_.ask(source_, statement, caption);
    products_.listLacking(source_, false);
    return store_.CDS_PRODUCT.recordCount() != 0;
}

void Promotions::transferUntaken() {
    const std::string id = store_.CDS_PsaleMaster.fieldByName("MASTERBILLID").asString();
    if (!takenByStore(store_.SQLQuery1, id)) TransferPromotion();
}

void Promotions::TransferPromotion() {
    if (!CDS_PSaleSub.active() || CDS_PSaleSub.recordCount() == 0) return;
    std::string failingItem;
    try {
        const NamedWork shown(progress_, QOR_BIG5("轉入販促資料"), ProgressUnit::Items);
        const Busy busy(onBusy);
        storedb::TransactionScope transfer(store_.SQLConnection2, kTransferTransaction);
        insertPromotionMaster(store_.SQL_M, store_.CDS_PsaleMaster);
        writeItems(failingItem);
        transfer.commit();
    } catch (const SilentAbort&) {
        throw;  // stopped by the staff: rolled back whole, nothing to tell
    } catch (const std::exception& e) {
        // Rolled back, the item list shown again and the cursor back before the box.
        dialogs_.showWarning(transferFailure(failingItem, e.what()));
    }
}

// Every item that names a product, in list order. `failingItem` holds the PROD_ID being
// written while it is written. Items fetched for another master (a list that moved on while
// their fetch failed) are never written under this one: the first ends the transfer.
void Promotions::writeItems(std::string& failingItem) {
    const std::string master = store_.CDS_PsaleMaster.fieldByName("MASTERBILLID").asString();
    ds::Dataset& items = CDS_PSaleSub;
    items.first();
    ds::ControlsDisabled held(items);
    const std::uint64_t count = std::uint64_t(items.recordCount());
    std::uint64_t done = 0;
    for (; !items.eof(); items.next(), ++done) {
        if (progress_) progress_->checkpoint(done, count);  // a stop rolls back it all
        const std::string productId = items.fieldByName("PROD_ID").asString();
        failingItem = productId;
        const std::string owner = items.fieldByName("MASTERBILLID").asString();
        if (!sameId(owner, master))
            throw Error(QOR_BIG5("品項屬於販促 ") + owner + QOR_BIG5("，不是目前的 ") + master);
        if (productId.empty()) continue;  // names no product
        insertPromotionItem(store_.SQL_S, store_.CDS_PsaleMaster, items);
        failingItem.clear();
    }
    // A stop asked for during the last item undoes it all the same.
    if (progress_) progress_->checkpoint(count, count);
}

}  // namespace qor::workflows
