// Supplier list: the head office's suppliers in DBGrid4, searched from SearchEdit1 under it.
#include <algorithm>
#include <array>
#include <string>

#include "text/cp950.h"
#include "text/sql_literal.h"
#include "window/FrmQorClient.h"

namespace qor::window {

namespace {

std::string supplierStatement() {
    return text::joinLines(
        {"SELECT a.PROVIDER_ID, a.PROVIDER_NAME, a.PROVIDER_PHONE ,a.BUSINESS_NUM ",
         " FROM PROVIDER a order by a.PROVIDER_ID "});
}

}  // namespace

void TFormQorClient::SpeedButton4Click() {
    SwitchTabs(TabSwitch::SupplierButton);
    // A failed or stopped request ends here: titles and search field stay as they were.
    {
        ShownWork shown(workDisplay_, QOR_BIG5("下載廠商資料"), ProgressUnit::Bytes);
        DataModHttp().OpenRemoteQuery(CDS_Fac, supplierStatement());
    }

    // By position, as the statement lists the columns; a reply with fewer gets fewer titles.
    const std::array<std::string, 4> titles{QOR_BIG5("代號"), QOR_BIG5("名稱"),
                                            QOR_BIG5("電話"), QOR_BIG5("統編")};
    const int titled = std::min(DBGrid4->columnCount(), int(titles.size()));
    for (int column = 0; column < titled; ++column)
        DBGrid4->setColumnTitle(column, titles[std::size_t(column)]);

    SearchEdit1->setDataField("PROVIDER_ID");
}

}  // namespace qor::window
