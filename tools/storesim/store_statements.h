#pragma once
// The statements a store's window sends the gateway in its morning, with the window's exact
// texts: lines each followed by CR LF, typed values as quoted literals.
#include <string>

namespace qor::storesim {

// The sign-in: the customer row matching the typed store code and identification code.
std::string signInStatement(const std::string& storeCode, const std::string& password);
// The products changed on or after the date `days` days before today.
std::string changedProductsStatement(int days);
// The promotions of the type stores take.
std::string promotionListStatement();
// One promotion's items, in the order they were keyed in.
std::string promotionItemsStatement(const std::string& masterId);
// The suppliers, by code.
std::string supplierStatement();

}  // namespace qor::storesim
