#pragma once
// The product record: CDS_PRODUCT's 96 declared fields, in record order.
#include <span>
#include <string_view>

#include "dataset/dataset.h"

namespace qor::storedb {

struct ProductFieldSpec {
    const char* name;
    ds::FieldKind kind;    // String, Float or Integer
    int size;              // String only
    const char* label;     // UTF-8 in the source; empty: titled by the name
    bool required;
    const char* displayFormat;
    const char* editMask;
};

// The 96 fields in record order.
std::span<const ProductFieldSpec> productFields();

// Declares the product record on a dataset that has no fields yet.
void declareProductFields(ds::Dataset& dataset);

// The command text that opens CDS_PRODUCT with its fields and no rows.
inline constexpr std::string_view kOpenProductEmptySql =
    "SELECT * FROM PRODUCT where PROD_ID = '-1' order by PROD_ID";

// Close, set that command text, open.
void openProductEmpty(ds::Dataset& dataset);

}  // namespace qor::storedb
