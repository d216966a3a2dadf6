// Store sign-in: ask the head office for the customer row matching the typed codes.
#include <string>

#include "text/cp950.h"
#include "text/sql_literal.h"
#include "window/FrmQorClient.h"
#include "window/big5_qt.h"

namespace qor::window {

namespace {

// The typed codes go in as quoted literals with every quote doubled, so what the user types
// can neither break nor change the statement. Nothing is trimmed.
std::string signInStatement(const std::string& storeCode, const std::string& password) {
    return text::joinLines(
        {"SELECT CUST_ID,CUST_NAME,CUST_IDAC,TAX_KIND,PRO_USE,CQ_USE,U_DIS,PRICE_FLAG,FREI_ADD,"
         "TEL_1,SALES_ID,STATE FROM CUSTOMER WHERE CUST_ID = " +
             text::sqlLiteral(storeCode),
         " and PASS_WD = " + text::sqlLiteral(password)});
}

}  // namespace

void TFormQorClient::SpeedButton1Click() {
    const std::string statement =
        signInStatement(fromQString(Ed_CustID->text()), fromQString(Ed_Passwd->text()));

    // The same statement goes out twice on purpose: both datasets hold the reply.
    {
        ShownWork shown(workDisplay_, QOR_BIG5("連線"), ProgressUnit::Bytes);
        DataModHttp().OpenRemoteQuery(ClientDataSet1, statement);
        DataModHttp().OpenRemoteQuery(CDS_Cust, statement);
    }
    Memo1->clear();

    // An empty first reply leaves ClientDataSet1 closed; counting its rows then fails with
    // the closed-dataset error and the sign-in ends there.
    if (ClientDataSet1.recordCount() > 0) {
        dialogs().showMessage(CDS_Cust.field(1).asString() + QOR_BIG5("您好!!"));
        Panel3->show();
    } else {
        dialogs().showWarning(QOR_BIG5("代號或識別碼錯誤..!"));
        Panel3->hide();
    }
    SwitchTabs(TabSwitch::SignIn);
}

}  // namespace qor::window
