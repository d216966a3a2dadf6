#include "reconciliation_data.h"

#include <cstdio>
#include <memory>
#include <stdexcept>

#include "storedb/connection.h"
#include "storedb/product_record.h"
#include "text/cp950.h"
#include "text/local_date.h"

namespace qor::bench {

namespace {

std::string numbered(const char* pattern, int n) {
    char text[32];
    std::snprintf(text, sizeof text, pattern, n);
    return text;
}

std::string storeProductId(int i) { return numbered("P%06d", i); }
std::string storeBarcode(int i) { return numbered("471%010d", i * 7); }
std::string salesBarcode(int k) { return numbered("472%010d", k); }

std::string replyBarcode(int j, int storeProducts) {
    if (j % 2 == 1) return numbered("999%010d", j);
    if (j % 20 == 0) return salesBarcode((j / 20) % 1000);
    return storeBarcode(int((std::int64_t(j) * 7919) % storeProducts));
}

// An embedded attachment to `database` with the account the tests use; transactions are
// started and committed by the caller.
std::unique_ptr<storedb::SqlConnection> attach(const storedb::DefinitionPaths& paths,
                                               const std::string& database) {
    auto connection = std::make_unique<storedb::SqlConnection>("Fill", paths);
    connection->setLoadParamsOnConnect(false);
    connection->setLibraryName(std::string(QOR_BIN_DIR) + "/libdbxfb.so");
    connection->setVendorLib("libfbclient.so.2");
    connection->params().set("Database", database);
    connection->params().set("User_Name", "SYSDBA");
    connection->params().set("Password", "quillbarn");
    return connection;
}

// A text of the field's kind and size, the way a head office fills that field.
std::string textFor(const std::string& name, int size, int j, int storeProducts) {
    if (name == "PROD_ID") return numbered("H%07d", j);
    if (name == "PROD_BARCODE") return replyBarcode(j, storeProducts);
    if (name == "PROD_NAME") return QOR_BIG5("有機全脂鮮乳") + numbered(" %d", j);
    if (name == "PROD_SNAME") return QOR_BIG5("鮮乳") + numbered("%d", j);
    if (name == "PROVIDER_ID" || name == "PROVIDER_ID2") return numbered("V%03d", j % 50);
    if (name == "PROVIDER_NAME" || name == "PROVIDER_NAME2") return QOR_BIG5("四季食品行");
    if (name == "PD_ITEMID") return numbered("A%02d", j % 30);
    if (name == "PD_ITEMNAME") return QOR_BIG5("乳製品");
    if (name == "PD_CLASSID") return numbered("C%02d", j % 10);
    if (name == "PD_CLASSNAME") return QOR_BIG5("冷藏");
    if (name == "CHG_DATE") return text::localDateText(j < kChangedToday ? 0 : 3);
    if (name == "STOCK_QTY") return "Y";
    if (name == "TAX_KIND") return QOR_BIG5("應稅");
    if (name == "BUY_CLASS") return "US";
    if (name == "PUT_ID") return "12345";
    if (name.ends_with("DATE")) return "2024/01/15";
    if (size <= 2) return "Y";
    return text::cutToBytes(name.substr(0, 4) + numbered("%d", j), std::size_t(size));
}

ds::Value valueFor(const storedb::ProductFieldSpec& field, int position, int j,
                   int storeProducts) {
    switch (field.kind) {
        case ds::FieldKind::Float: return double(j % 500) + position * 0.25;
        case ds::FieldKind::Integer: return std::int64_t(j % 30);
        default: return textFor(field.name, field.size, j, storeProducts);
    }
}

}  // namespace

std::string storeRowsSql() {
    std::string sql = "INSERT INTO PROD_ITEM VALUES ('0109099', '" + QOR_BIG5("生鮮蔬果") + "');\n";
    for (int i = 0; i < 30; ++i)
        sql += "INSERT INTO PROD_ITEM VALUES ('" + numbered("A%02d", i) + "', 'Item " +
               std::to_string(i) + "');\n";
    for (int i = 0; i < 10; ++i)
        sql += "INSERT INTO PROD_CLASS VALUES ('" + numbered("C%02d", i) + "', 'Class');\n";
    for (int i = 0; i < 40; ++i)
        sql += "INSERT INTO PROVIDER VALUES ('" + numbered("V%03d", i) + "', 'Supplier');\n";
    sql += "INSERT INTO PROD_UNIT VALUES ('PCS', 'Piece');\n";
    return sql;
}

void fillStoreProducts(const std::string& database, int products) {
    storedb::FixedDefinitionPaths paths(QOR_BIN_DIR);
    auto connection = attach(paths, database);
    const storedb::TransactionDesc desc{1, 0, 0, 0};
    connection->startTransaction(desc);
    dbx::Connection& db = connection->attachment();
    for (int i = 0; i < products; ++i)
        db.execute("INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE, PROD_NAME, PSALE_PRICE, VIP_PRICE) "
                   "VALUES (?, ?, ?, ?, ?)",
                   {storeProductId(i), storeBarcode(i), QOR_BIG5("商品"), double(i % 500),
                    double(i % 450)});
    for (int k = 0; k < 1000; ++k)
        db.execute("INSERT INTO PROD_SALE (PROD_ID, SAL_BARCODE) VALUES (?, ?)",
                   {storeProductId(k), salesBarcode(k)});
    connection->commit(desc);
}

ds::Table headOfficeProducts(int count, int storeProducts) {
    ds::Table table;
    for (const auto& field : storedb::productFields())
        table.columns.push_back({field.name, field.kind, field.size, 0, false, false});
    table.rows.reserve(std::size_t(count));
    for (int j = 0; j < count; ++j) {
        ds::Row row;
        row.reserve(table.columns.size());
        int position = 0;
        for (const auto& field : storedb::productFields())
            row.push_back(valueFor(field, position++, j, storeProducts));
        table.rows.push_back(std::move(row));
    }
    return table;
}

void fillHeadOffice(test::GatewayProcess& gateway, const ds::Table& products) {
    gateway.stop();  // embedded: one process at a time opens the file
    {
        storedb::FixedDefinitionPaths paths(QOR_BIN_DIR);
        auto connection = attach(paths, gateway.databasePath());
        std::string columns, markers;
        for (const auto& column : products.columns) {
            columns += (columns.empty() ? "" : ",") + column.name;
            markers += markers.empty() ? "?" : ",?";
        }
        const std::string insert = "INSERT INTO PRODUCT (" + columns + ") VALUES (" + markers + ")";
        const storedb::TransactionDesc desc{1, 0, 0, 0};
        connection->startTransaction(desc);
        for (const ds::Row& row : products.rows) connection->attachment().execute(insert, row);
        connection->commit(desc);
    }
    gateway.runSql("");  // starts the gateway again on its port
}

std::size_t columnOf(const ds::Table& table, const std::string& name) {
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        if (table.columns[i].name == name) return i;
    throw std::runtime_error("no column " + name);
}

}  // namespace qor::bench
