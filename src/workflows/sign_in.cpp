#include "workflows/sign_in.h"

#include "text/cp950.h"
#include "text/sql_literal.h"

namespace qor::workflows {

std::string signInStatement(const std::string& storeCode, const std::string& password) {
    return text::joinLines(
        {"SELECT CUST_ID,CUST_NAME,CUST_IDAC,TAX_KIND,PRO_USE,CQ_USE,U_DIS,PRICE_FLAG,FREI_ADD,"
         "TEL_1,SALES_ID,STATE FROM CUSTOMER WHERE CUST_ID = " +
             text::sqlLiteral(storeCode),
         " and PASS_WD = " + text::sqlLiteral(password)});
}

void SignIn::ask(const std::string& storeCode, const std::string& password) {
    const std::string statement = signInStatement(storeCode, password);
    const std::string& caption = QOR_BIG5("連線");
    const NamedWork both(headOffice_.progress(), caption, ProgressUnit::Bytes);  // one display
    headOffice_.ask(ClientDataSet1, statement, caption);
    headOffice_.ask(CDS_Cust, statement, caption);
}

bool SignIn::answer() {
    // Counting the rows of a closed dataset fails with its closed-dataset error.
    if (ClientDataSet1.recordCount() > 0) {
        dialogs_.showMessage(CDS_Cust.field(1).asString() + QOR_BIG5("您好!!"));
        return true;
    }
    dialogs_.showWarning(QOR_BIG5("代號或識別碼錯誤..!"));
    return false;
}

}  // namespace qor::workflows
