#pragma once
// The head office the gateway benchmarks run against: store S001 (password 1234) and
// `count` products P0000000... with Traditional Chinese names, as isql text.
#include <string>

#include "text/cp950.h"

namespace qor::bench {

inline std::string headOfficeProducts(int count) {
    const std::string name = text::utf8ToCp950("商品資料測試");
    return "INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, PASS_WD) VALUES ('S001', '" + name +
           "', '1234');\n"
           "SET TERM ^ ;\n"
           "EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN\n"
           "  WHILE (i < " + std::to_string(count) + ") DO BEGIN\n"
           "    INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE, PROD_NAME, SALE_PRICE, STD_COST,\n"
           "      PROVIDER_ID, PROVIDER_NAME, UNITNAME, STOCK_QTY, CHG_DATE, SAFE_DAY)\n"
           "    VALUES ('P' || LPAD(:i, 7, '0'), '471' || LPAD(:i, 10, '0'), '" + name +
           "' || :i, 99.5, 60.25, 'F01', '" + name + "', 'PCS', 'N', '2024/01/31', 7);\n"
           "    i = i + 1;\n"
           "  END\n"
           "END^\n"
           "SET TERM ; ^\n";
}

}  // namespace qor::bench
