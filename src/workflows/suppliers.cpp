#include "workflows/suppliers.h"

#include "text/cp950.h"
#include "text/sql_literal.h"

namespace qor::workflows {

std::string supplierStatement() {
    return text::joinLines(
        {"SELECT a.PROVIDER_ID, a.PROVIDER_NAME, a.PROVIDER_PHONE ,a.BUSINESS_NUM ",
         " FROM PROVIDER a order by a.PROVIDER_ID "});
}

void Suppliers::load() { headOffice_.ask(CDS_Fac, supplierStatement(), QOR_BIG5("下載廠商資料")); }

}  // namespace qor::workflows
