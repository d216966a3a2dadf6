#include "workflows/product_reconciliation.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "dataset/controls_disabled.h"
#include "text/local_date.h"

namespace qor::workflows {

namespace {

// The category every listed fresh-goods product starts in.
constexpr std::string_view kFreshGoodsCategory = "0109099";

// The prices and costs a listed fresh-goods product starts with at 0, in the order set.
constexpr std::array<std::string_view, 8> kFreshGoodsZeroed{
    "P_LTCOST", "SALE_PRICE", "PSALE_PRICE", "VIP_PRICE",
    "CR_PRICE", "P_PRICE",    "P_PRICE2",    "N_PRICE"};

// For each field of `products`, the source field of its name; nullptr where there is none.
// Found once per walk: the source's fields stay while it is open.
std::vector<ds::Field*> matchingSourceFields(ds::Dataset& source, ds::Dataset& products) {
    std::vector<ds::Field*> matching;
    matching.reserve(static_cast<std::size_t>(products.fieldCount()));
    for (int i = 0; i < products.fieldCount(); ++i)
        matching.push_back(source.findField(products.field(i).fieldName()));
    return matching;
}

void copyRecord(ds::Dataset& source, ds::Dataset& products,
                const std::vector<ds::Field*>& from) {
    for (int i = 0; i < products.fieldCount(); ++i) {
        ds::Field& target = products.field(i);
        ds::Field* field = from[static_cast<std::size_t>(i)];
        // A field the source lacks stops the copy with the dataset's own not-found error.
        target.setValue(field ? field->value() : source.fieldByName(target.fieldName()).value());
    }
}

void fillRecord(ds::Dataset& source, ds::Dataset& products, bool freshGoods,
                const std::vector<ds::Field*>& from, const std::string& barcode,
                const std::string& today) {
    copyRecord(source, products, from);
    products.fieldByName("CR_DATE").setAsString(today);
    products.fieldByName("CHG_DATE").setAsString(today);
    products.fieldByName("PROD_ID").setAsString(barcode);
    products.fieldByName("PD_ITEMID").setAsString("");
    products.fieldByName("PD_ITEMNAME").setAsString("");
    if (freshGoods) {
        products.fieldByName("PD_ITEMID").setAsString(kFreshGoodsCategory);
        for (std::string_view name : kFreshGoodsZeroed) products.fieldByName(name).setAsFloat(0);
    }
}

void listProduct(ds::Dataset& source, ds::Dataset& products, bool freshGoods,
                 const std::vector<ds::Field*>& from, const std::string& barcode,
                 const std::string& today) {
    products.append();
    {
        // The record is filled as one change, the way a whole record is set at once: the
        // bound controls show it once filled instead of following each of its hundred
        // fields. The fields' own handlers still run for each.
        const ds::ControlsDisabled filling(products);
        fillRecord(source, products, freshGoods, from, barcode, today);
    }
    products.post();
}

}  // namespace

void reconcileProducts(ds::Dataset& source, ds::Dataset& products, bool freshGoods,
                       const std::function<bool(const std::string& barcode)>& storeHas,
                       WorkProgress* progress) {
    if (!source.active()) return;
    const std::string today = text::localDateText();
    const std::vector<ds::Field*> from = matchingSourceFields(source, products);
    ds::Field* barcodeField = source.findField("PROD_BARCODE");
    const std::uint64_t rows = static_cast<std::uint64_t>(source.recordCount());
    std::uint64_t done = static_cast<std::uint64_t>(std::max(source.recNo() - 1, 0));
    for (; !source.eof(); ++done) {
        if (progress) progress->checkpoint(done, rows);
        const std::string barcode =
            barcodeField ? barcodeField->asString() : source.fieldByName("PROD_BARCODE").asString();
        if (!storeHas(barcode))
            listProduct(source, products, freshGoods, from, barcode, today);
        source.next();
    }
}

}  // namespace qor::workflows
