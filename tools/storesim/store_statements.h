#pragma once
// The statements a store sends the gateway in its morning: the workflows' own, so the
// simulator asks exactly what the window asks.
#include <string>

#include "workflows/product_download.h"
#include "workflows/promotions.h"
#include "workflows/sign_in.h"
#include "workflows/suppliers.h"

namespace qor::storesim {

using workflows::promotionItemsStatement;
using workflows::promotionListStatement;
using workflows::signInStatement;
using workflows::supplierStatement;

// The products changed on or after the date `days` days before today.
inline std::string changedProductsStatement(int days) {
    return workflows::productStatement(false, days);
}

}  // namespace qor::storesim
