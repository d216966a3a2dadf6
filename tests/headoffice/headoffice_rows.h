#pragma once
// The head-office rows the gateway tests ask for, and the statements stores send, composed
// the way the store client composes them (lines each followed by CR LF).
#include <string>
#include <vector>

#include "recording_dialogs.h"

namespace qor::headoffice::testing {

// Big5 texts of the rows; several hold double-byte characters whose second byte is "\"
// (0x5C) or "|" (0x7C), and one holds every XML special character.
std::string big5(const char* utf8);
std::string storeName();        // 許功蓋商店: trail bytes 0x5C
std::string coffeeName();       // 四季尚好咖啡: trail bytes 0x7C
std::string markupName();       // A&B <"功"> 'x': XML escapes around a 0x5C trail byte
std::string supplierName();     // 功夫四季食品行

// "yyyy/mm/dd" of the local date `daysAgo` days before today.
std::string dateDaysAgo(int daysAgo);

// isql text inserting the rows below, as code page 950 bytes.
//   CUSTOMER  LOGINID / 1234 (storeName), S001 / 5678, and STORE01..STORE08 / PW01..PW08
//             named "Store 01".."Store 08"
//   PRODUCT   P001 barcode 4710001 coffeeName, changed today;
//             P002 barcode 4710002 markupName, changed long ago, fresh goods (STOCK_QTY 'N');
//             P003 barcode 4710003, changed 3 days ago
//   PSALE_MASTER  PM001 (bill type 1), PM002 (bill type 2), PM003 (bill type 1, no items)
//   PSALE_SUB     PM001: P003 (keyed third), PX99 (keyed second, no product), P001 (first)
//   PROVIDER  V003, V001 (supplierName), V002
std::string headOfficeRows();

// isql text inserting `count` products P0000000, P0000001, ... (barcodes 471..., Big5 names
// with XML special characters, prices, CHG_DATE 2024/01/31), for replies of many rows.
std::string manyProducts(int count);

// Statement lines joined the way the store client joins them.
std::string lines(const std::vector<std::string>& parts);

std::string signInStatement(const std::string& code, const std::string& password);
std::string productStatement(const std::string& cutOffDate);
std::string freshGoodsStatement();
std::string promotionListStatement();
std::string promotionItemsStatement(const std::string& masterId);
std::string itemCheckStatement(const std::string& masterId);
std::string supplierStatement();

using qor::test::RecordingDialogs;

}  // namespace qor::headoffice::testing
