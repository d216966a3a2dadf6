#include "listed_products.h"

#include "storedb/connection.h"
#include "storedb/product_record.h"
#include "storedb/query.h"

namespace qor::test {

std::string editorStoreRows() {
    return "INSERT INTO PROD_ITEM VALUES ('A01', 'Drinks');\n"
           "INSERT INTO PROD_ITEM VALUES ('A02', 'Snacks');\n"
           "INSERT INTO PROD_UNIT VALUES ('BTL', 'Bottle');\n"
           "INSERT INTO PROD_UNIT VALUES ('PKG', 'Package');\n"
           "INSERT INTO PRODUCT (PROD_ID, PROD_NAME) VALUES ('S001', 'Kept');\n"
           "CREATE EXCEPTION E_REFUSED 'refused by the store';\n"
           "SET TERM ^ ;\n"
           "CREATE TRIGGER PRODUCT_REFUSED FOR PRODUCT BEFORE INSERT AS BEGIN\n"
           "  IF (NEW.PROD_ID = 'BAD') THEN EXCEPTION E_REFUSED;\n"
           "END^\n"
           "SET TERM ; ^\n";
}

void listProducts(ds::Dataset& products, const std::vector<ListedRow>& rows,
                  const std::string& name) {
    storedb::openProductEmpty(products);
    for (const ListedRow& row : rows) {
        products.append();
        products.fieldByName("PROD_ID").setText(row.code);
        if (!name.empty()) products.fieldByName("PROD_NAME").setText(name);
        products.fieldByName("PD_ITEMID").setText(row.category);
        products.fieldByName("PSALE_PRICE").setText("49");
        products.fieldByName("VIP_PRICE").setText("45");
        products.post();
    }
    products.first();
}

std::vector<ds::Row> storeRowsOf(const storedb::DefinitionPaths& paths, const std::string& sql) {
    storedb::SqlConnection reader("Reader", paths);
    storedb::SqlQuery query("Query", reader);
    query.setSql(sql);
    return query.openTable().rows;
}

}  // namespace qor::test
