#pragma once
// The four lookup datasets' fixed field lists (CDS_PDITEM, CDS_Provider, CDS_PDCLASS, CDS_Unit).
#include "dataset/dataset.h"

namespace qor::storedb {

void declarePdItemFields(ds::Dataset& dataset);    // PD_ITEMID, PD_ITEMNAME
void declareProviderFields(ds::Dataset& dataset);  // PROVIDER_ID, PROVIDER_NAME
void declarePdClassFields(ds::Dataset& dataset);   // PD_CLASSID, PD_CLASSNAME
void declareUnitFields(ds::Dataset& dataset);      // UNIT_ID, UNITNAME

// Opens the dataset unless it is open (what each combo does before its list drops down).
void openIfClosed(ds::Dataset& dataset);

}  // namespace qor::storedb
