#include "storedb/lookup_datasets.h"

#include "text/cp950.h"

namespace qor::storedb {

namespace {

// A text field of the lookup lists: the key is required, the name is not.
void declareText(ds::Dataset& dataset, const char* name, int size, const std::string& label,
                 bool required) {
    ds::FieldDef def;
    def.name = name;
    def.kind = ds::FieldKind::String;
    def.size = size;
    def.displayLabel = label;
    def.required = required;
    def.displayWidth = size;
    dataset.declareField(def);
}

}  // namespace

void declarePdItemFields(ds::Dataset& dataset) {
    declareText(dataset, "PD_ITEMID", 10, QOR_BIG5("類別代號"), true);
    declareText(dataset, "PD_ITEMNAME", 20, QOR_BIG5("類別名稱"), false);
}

void declareProviderFields(ds::Dataset& dataset) {
    declareText(dataset, "PROVIDER_ID", 10, QOR_BIG5("廠商代號"), true);
    declareText(dataset, "PROVIDER_NAME", 50, QOR_BIG5("廠商名稱"), false);
}

void declarePdClassFields(ds::Dataset& dataset) {
    declareText(dataset, "PD_CLASSID", 10, QOR_BIG5("屬性代號"), true);
    declareText(dataset, "PD_CLASSNAME", 20, QOR_BIG5("屬性名稱"), false);
}

void declareUnitFields(ds::Dataset& dataset) {
    declareText(dataset, "UNIT_ID", 10, QOR_BIG5("單位"), true);
    declareText(dataset, "UNITNAME", 10, QOR_BIG5("單位說明"), false);
}

void openIfClosed(ds::Dataset& dataset) {
    if (!dataset.active()) dataset.open();
}

}  // namespace qor::storedb
