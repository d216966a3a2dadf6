#include "headoffice_rows.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "dataset/value_text.h"
#include "text/cp950.h"

namespace qor::headoffice::testing {

std::string big5(const char* utf8) { return text::utf8ToCp950(utf8); }
std::string storeName() { return big5("許功蓋商店"); }
std::string coffeeName() { return big5("四季尚好咖啡"); }
std::string markupName() { return big5("A&B <\"功\"> 'x'"); }
std::string supplierName() { return big5("功夫四季食品行"); }

std::string dateDaysAgo(int daysAgo) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    local.tm_mday -= daysAgo;
    local.tm_hour = 12;  // away from any daylight-saving edge
    std::mktime(&local);
    return ds::formatDate({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday});
}

namespace {

// A literal for isql: quotes doubled.
std::string quoted(const std::string& value) {
    std::string out = "'";
    for (char c : value) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

std::string product(const std::string& id, const std::string& barcode, const std::string& name,
                    const std::string& changed, const std::string& stockQty, double price) {
    const std::string p = std::to_string(price);
    return "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE, PROD_NAME, PSALE_PRICE, VIP_PRICE, "
           "SALE_PRICE, STD_COST, PROVIDER_ID, UNITNAME, STOCK_QTY, SAFE_DAY, AVG_COST, "
           "CHG_DATE, PD_ITEMID, PUT_ID) VALUES (" +
           quoted(id) + ", " + quoted(barcode) + ", " + quoted(name) + ", " + p + ", " + p +
           ", " + p + ", 1.5, 'V001', 'PCS', " + quoted(stockQty) + ", 7, 2.346, " +
           quoted(changed) + ", 'A01', '12345');\n";
}

std::string item(const std::string& master, const std::string& prodId, const std::string& key) {
    return "INSERT INTO PSALE_SUB (MASTERBILLID, PROD_ID, PROD_NAME, PSALE_PRICE, OLD_PRICE, "
           "N_QTY, G_QTY, VIP_PRICE, INI_DATE, END_DATE, PINI_DATE, PEND_DATE, KEYINTIME, "
           "SEC_DIS, STOP_SALE, PACK_QTY, U_DIS) VALUES (" +
           quoted(master) + ", " + quoted(prodId) + ", 'item " + prodId +
           "', 9.5, 12, 1, 0, 9, '2024/01/01', '2024/12/31', '2024/01/01', '2024/12/31', " +
           quoted(key) + ", 'Y', 'n', 1, 100);\n";
}

}  // namespace

std::string headOfficeRows() {
    std::string sql;
    sql += "INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, CUST_IDAC, TAX_KIND, PRO_USE, CQ_USE, U_DIS, "
           "PRICE_FLAG, FREI_ADD, TEL_1, SALES_ID, STATE, PASS_WD) VALUES ('LOGINID', " +
           quoted(storeName()) + ", 'A123', 'T1', 'Y', 'N', 95, '1', 0, '02-2345-6789', "
           "'SA01', '1', '1234');\n";
    sql += "INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, PASS_WD) VALUES ('S001', " +
           quoted(coffeeName()) + ", '5678');\n";
    for (int i = 1; i <= 8; ++i) {
        char id[24], name[24], pass[24];  // room for any int: nothing cut, no warning
        std::snprintf(id, sizeof id, "STORE%02d", i);
        std::snprintf(name, sizeof name, "Store %02d", i);
        std::snprintf(pass, sizeof pass, "PW%02d", i);
        sql += std::string("INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, PASS_WD) VALUES ('") + id +
               "', '" + name + "', '" + pass + "');\n";
    }

    sql += product("P001", "4710001", coffeeName(), dateDaysAgo(0), "Y", 120);
    sql += product("P002", "4710002", markupName(), "2000/01/01", "N", 35.5);
    sql += product("P003", "4710003", big5("蘋果汁"), dateDaysAgo(3), "Y", 49);

    sql += "INSERT INTO PSALE_MASTER (MASTERBILLID, BILL_DATE, INI_DATE, END_DATE, REASON, "
           "STORE_ID, OVER_AMT, PINI_DATE, PEND_DATE, BILL_TYPE, BILL_KIND, PRO_NO) VALUES "
           "('PM001', '2024/01/01', '2024/01/01', '2024/12/31', " +
           quoted(big5("週年慶")) + ", 'LOGINID', 500, '2024/01/01', '2024/12/31', '1', 'A', "
           "'PR01');\n";
    sql += "INSERT INTO PSALE_MASTER (MASTERBILLID, BILL_TYPE) VALUES ('PM002', '2');\n";
    sql += "INSERT INTO PSALE_MASTER (MASTERBILLID, BILL_TYPE) VALUES ('PM003', '1');\n";
    sql += item("PM001", "P003", "2024/01/01 10:00:03");
    sql += item("PM001", "PX99", "2024/01/01 10:00:02");
    sql += item("PM001", "P001", "2024/01/01 10:00:01");

    sql += "INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, PROVIDER_PHONE, BUSINESS_NUM) "
           "VALUES ('V003', 'Third', '03-333', '33333333');\n";
    sql += "INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, PROVIDER_PHONE, BUSINESS_NUM) "
           "VALUES ('V001', " + quoted(supplierName()) + ", '01-111', '11111111');\n";
    sql += "INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, PROVIDER_PHONE, BUSINESS_NUM) "
           "VALUES ('V002', 'Second', '02-222', '22222222');\n";
    return sql;
}

std::string manyProducts(int count) {
    const std::string name = quoted(big5("商品&<測試>"));
    return "SET TERM ^ ;\n"
           "EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN\n"
           "  WHILE (i < " + std::to_string(count) + ") DO BEGIN\n"
           "    INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE, PROD_NAME, SALE_PRICE, STD_COST,\n"
           "      PROVIDER_ID, UNITNAME, STOCK_QTY, CHG_DATE, SAFE_DAY)\n"
           "    VALUES ('P' || LPAD(:i, 7, '0'), '471' || LPAD(:i, 10, '0'), " + name +
           " || :i, 99.5, 60.25, 'F01', 'PCS', 'N', '2024/01/31', 7);\n"
           "    i = i + 1;\n"
           "  END\n"
           "END^\n"
           "SET TERM ; ^\n";
}

std::string lines(const std::vector<std::string>& parts) {
    std::string text;
    for (const auto& part : parts) text += part + "\r\n";
    return text;
}

std::string signInStatement(const std::string& code, const std::string& password) {
    return lines({"SELECT CUST_ID,CUST_NAME,CUST_IDAC,TAX_KIND,PRO_USE,CQ_USE,U_DIS,PRICE_FLAG,"
                  "FREI_ADD,TEL_1,SALES_ID,STATE FROM CUSTOMER WHERE CUST_ID = '" + code + "'",
                  " and PASS_WD = '" + password + "'"});
}

std::string productStatement(const std::string& cutOffDate) {
    return lines({"SELECT a.* ", "FROM PRODUCT a ", " where a.CHG_DATE >= '" + cutOffDate + "'"});
}

std::string freshGoodsStatement() {
    return lines({"SELECT a.* ", "FROM PRODUCT a ", " where a.STOCK_QTY = 'N' "});
}

std::string promotionListStatement() {
    return lines({"SELECT a.* ", "FROM PSALE_MASTER a ", " WHERE A.BILL_TYPE = '1' "});
}

std::string promotionItemsStatement(const std::string& masterId) {
    return lines({"SELECT * ", "FROM PSALE_SUB ", " where MASTERBILLID = '" + masterId + "'",
                  " ORDER BY KEYINTIME "});
}

std::string itemCheckStatement(const std::string& masterId) {
    return lines({"SELECT * ", "FROM PRODUCT ",
                  " where PROD_ID IN (SELECT PROD_ID FROM PSALE_SUB WHERE MASTERBILLID = '" +
                      masterId + "')"});
}

std::string supplierStatement() {
    return lines({"SELECT a.PROVIDER_ID, a.PROVIDER_NAME, a.PROVIDER_PHONE ,a.BUSINESS_NUM ",
                  " FROM PROVIDER a order by a.PROVIDER_ID "});
}

}  // namespace qor::headoffice::testing
