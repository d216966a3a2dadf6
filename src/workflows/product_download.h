#pragma once
// Product download: the head office's products changed in the last days (or its fresh goods)
// are compared with the store, and those the store lacks are listed in CDS_PRODUCT for the
// staff to complete. Also the product dataset's own handlers, which the listing runs field by
// field: the code validations and the import controls' check at every state change.
#include <functional>
#include <memory>
#include <string>

#include "dataset/dataset.h"
#include "dataset/datasource.h"
#include "storedb/store_objects.h"
#include "text/work_progress.h"
#include "workflows/head_office.h"

namespace qor::workflows {

// Days back for the text of Ed_Day: a decimal whole number, blanks around it allowed; 1 for
// any other text, the empty text included.
int dayCount(const std::string& typed);

// Fresh goods are the products that deduct no stock, whenever they changed; otherwise the
// products changed on or after the date `days` days before today.
std::string productStatement(bool freshGoods, int days);

// How the comparison asks the store whether it has a product, and the code tables for the
// names of codes. Every way lists the same rows with the same values and fails at the same row.
enum class StoreLookUps {
    BySize,     // the store's keys and code tables read once, unless the store is much larger
                // than the download: then the download's own values asked in batches
    ByRow,      // one look-up a question, as each row and field comes (the reference)
    ReadWhole,  // the keys read once, whatever the sizes
    InBatches,  // the download's values asked in batches, whatever the sizes
};

class ProductDownload {
public:
    // Binds CDS_PRODUCT's three code validations and DS_PRODUCT's state change. `source`
    // (CDS_Source) receives the head office's rows.
    ProductDownload(HeadOffice& headOffice, storedb::StoreObjects& store, ds::Dataset& source,
                    WorkProgress* progress);

    // Told at every state change of CDS_PRODUCT whether the store lacks the current row's
    // PROD_ID (the import controls usable) or has it.
    std::function<void(bool storeLacksProduct)> onImportControls;

    // The statement for `dayText` and `freshGoods` into CDS_Source, then CDS_PRODUCT listed
    // from it (listLacking). A failed or stopped request ends here, the products listed
    // before left as they are.
    void download(const std::string& dayText, bool freshGoods);

    // CDS_PRODUCT opened empty, then the reconciliation over `source` from its current row
    // (reconcileProducts; with `freshGoods` the listed rows start in category "0109099" at
    // price 0). Fails as reconcileProducts does: rows listed before stay, a failing row stays
    // in insert state. The promotion item check lists its products here too.
    void listLacking(ds::Dataset& source, bool freshGoods);
    void setStoreLookUps(StoreLookUps how) { lookUps_ = how; }

    // Each runs before a value is stored in its field (typed or assigned by the program),
    // reads the value being assigned and, when the store has that code, sets the name field
    // (PD_ITEMNAME, PD_CLASSNAME, PROVIDER_NAME) to the store's name. Never refuses a value.
    void CDS_PRODUCTPD_ITEMIDValidate(ds::Field& Sender);
    void CDS_PRODUCTPD_CLASSIDValidate(ds::Field& Sender);
    void CDS_PRODUCTPROVIDER_IDValidate(ds::Field& Sender);
    // Looks the current row's PROD_ID up (SQLQuery2; a closed or empty dataset reads as the
    // empty code) and tells onImportControls.
    void DS_PRODUCTStateChange(ds::DataSource& Sender);

    ~ProductDownload();

private:
    struct Known;  // what a comparison has learnt of the store at its start
    bool storeHas(const std::string& barcode);

    HeadOffice& headOffice_;
    storedb::StoreObjects& store_;
    ds::Dataset& source_;
    WorkProgress* progress_;
    StoreLookUps lookUps_ = StoreLookUps::BySize;
    Known* known_ = nullptr;  // during a comparison only
};

}  // namespace qor::workflows
