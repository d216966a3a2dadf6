#pragma once
// The rows of the reconciliation benchmark: a store of 100,000 products and a head-office
// reply of 20,000 products with values in every field of the product record.
//
// Head-office product j: an even j is in the store (every tenth of those by a sales barcode
// in PROD_SALE, the others by the barcode of a store product), an odd j is new to the
// store. The first kChangedToday changed today, the others three days ago.
#include <cstddef>
#include <string>

#include "dataset/value.h"
#include "gateway_process.h"

namespace qor::bench {

inline constexpr int kStoreProducts = 100000;
inline constexpr int kReplyProducts = 20000;
inline constexpr int kChangedToday = 2000;

// isql text for the store's lookup tables: categories (0109099 among them), attributes,
// suppliers and units.
std::string storeRowsSql();
// Writes the store's products (`products` of them) and its 1,000 sales barcodes into the
// store database file.
void fillStoreProducts(const std::string& database, int products = kStoreProducts);

// The head office's products 0 .. count-1, one column per field of the product record, for a
// store of `storeProducts`.
ds::Table headOfficeProducts(int count, int storeProducts = kStoreProducts);
// Writes `products` into the gateway's database; the gateway is stopped meanwhile.
void fillHeadOffice(test::GatewayProcess& gateway, const ds::Table& products);

std::size_t columnOf(const ds::Table& table, const std::string& name);

}  // namespace qor::bench
