#include "store_statements.h"

#include "text/local_date.h"
#include "text/sql_literal.h"

namespace qor::storesim {

std::string signInStatement(const std::string& storeCode, const std::string& password) {
    return text::joinLines(
        {"SELECT CUST_ID,CUST_NAME,CUST_IDAC,TAX_KIND,PRO_USE,CQ_USE,U_DIS,PRICE_FLAG,FREI_ADD,"
         "TEL_1,SALES_ID,STATE FROM CUSTOMER WHERE CUST_ID = " +
             text::sqlLiteral(storeCode),
         " and PASS_WD = " + text::sqlLiteral(password)});
}

std::string changedProductsStatement(int days) {
    const std::string cutOff = text::localDateText(days);
    return text::joinLines(
        {"SELECT a.* ", "FROM PRODUCT a ", " where a.CHG_DATE >= '" + cutOff + "'"});
}

std::string promotionListStatement() {
    return text::joinLines({"SELECT a.* ", "FROM PSALE_MASTER a ", " WHERE A.BILL_TYPE = '1' "});
}

std::string promotionItemsStatement(const std::string& masterId) {
    return text::joinLines({"SELECT * ", "FROM PSALE_SUB ",
                            " where MASTERBILLID = " + text::sqlLiteral(masterId),
                            " ORDER BY KEYINTIME "});
}

std::string supplierStatement() {
    return text::joinLines({"SELECT a.PROVIDER_ID, a.PROVIDER_NAME, a.PROVIDER_PHONE ,a.BUSINESS_NUM ",
                            " FROM PROVIDER a order by a.PROVIDER_ID "});
}

}  // namespace qor::storesim
