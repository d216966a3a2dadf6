// Promotion download: the head office's promotions the store has not taken, listed in
// DBGrid2, and the items of whichever is current in DBGrid3. Nothing is written here; the
// item check and the transfer (FrmQorClient_transfer.cpp) work on what this leaves.
#include <cstdint>
#include <string>

#include "storedb/store_lookup.h"
#include "text/cp950.h"
#include "text/sql_literal.h"
#include "window/FrmQorClient.h"

namespace qor::window {

namespace {

// Opens the master list empty with the store's PSALE_MASTER layout.
constexpr const char* kEmptyMasterList = "select * from psale_master where masterbillid = '-1' ";

std::string promotionListStatement() {
    return text::joinLines({"SELECT a.* ", "FROM PSALE_MASTER a ", " WHERE A.BILL_TYPE = '1' "});
}

std::string promotionItemsStatement(const std::string& masterId) {
    return text::joinLines({"SELECT * ", "FROM PSALE_SUB ",
                            " where MASTERBILLID = " + text::sqlLiteral(masterId),
                            " ORDER BY KEYINTIME "});
}

// Taken: the store holds a master copied from it.
bool takenByStore(storedb::SqlQuery& lookUp, const std::string& headOfficeId) {
    storedb::openLookUp(lookUp,
                        {"SELECT MASTERBILLID FROM PSALE_MASTER ", " WHERE SOURCE_ID = :SOURCE_ID"},
                        headOfficeId);
    return !lookUp.isEmpty();
}

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

}  // namespace

void TFormQorClient::bindPromotionHandlers() {
    ds::Dataset& masters = store().CDS_PsaleMaster;
    masters.afterOpen = [this](ds::Dataset& d) { CDS_PsaleMasterAfterOpen(d); };
    masters.afterScroll = [this](ds::Dataset& d) { CDS_PsaleMasterAfterOpen(d); };
    onClick(SpeedButton7, &TFormQorClient::SpeedButton7Click);
    onClick(SpeedButton8, &TFormQorClient::SpeedButton8Click);
}

void TFormQorClient::SpeedButton3Click() {
    ShownWork shown(workDisplay_, QOR_BIG5("下載販促資料"), ProgressUnit::Rows);
    SwitchTabs(TabSwitch::PromotionButton);
    ds::Dataset& masters = store().CDS_PsaleMaster;
    masters.close();
    masters.setCommandText(kEmptyMasterList);
    masters.open();

    // A failed or stopped request leaves the list empty.
    {
        ShownWork receiving(workDisplay_, QOR_BIG5("下載販促資料"), ProgressUnit::Bytes);
        DataModHttp().OpenRemoteQuery(CDS_Source, promotionListStatement());
    }
    if (CDS_Source.active()) {
        const std::uint64_t rows = std::uint64_t(CDS_Source.recordCount());
        std::uint64_t done = 0;
        for (CDS_Source.first(); !CDS_Source.eof(); CDS_Source.next(), ++done) {
            checkpoint(done, rows);  // a stop keeps the masters listed so far
            const std::string id = CDS_Source.fieldByName("MASTERBILLID").asString();
            // The new row's item fetch is no place to stop: the row would be left half added.
            const StopsHeld wholeRow(workDisplay_);
            if (!takenByStore(store().SQLQuery1, id)) appendCopy(masters, CDS_Source);
        }
    }
    masters.first();
}

// Whichever dataset calls, the items are those of the master list's current row; a list
// without one, or standing on a blank new row, asks for the empty id.
void TFormQorClient::CDS_PsaleMasterAfterOpen(ds::Dataset& /*DataSet*/) {
    ShownWork shown(workDisplay_, QOR_BIG5("下載販促資料"), ProgressUnit::Bytes);
    const std::string id = store().CDS_PsaleMaster.fieldByName("MASTERBILLID").asString();
    DataModHttp().OpenRemoteQuery(CDS_PSaleSub, promotionItemsStatement(id));
}

}  // namespace qor::window
