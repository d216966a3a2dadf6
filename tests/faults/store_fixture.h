#pragma once
// The workflows over a store database and a real head-office gateway, for the store-side fault
// tests: the head office has a promotion PBIG of many items whose products the store has, and
// fresh goods N01.. the store lacks (listed straight into the store's fresh-goods category, so
// import-all takes them as they are). Reads of the store go through a connection of their
// own, as another program would read it.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dataset/value_text.h"
#include "gateway_process.h"
#include "listed_products.h"
#include "storedb/product_record.h"
#include "storedb/query.h"
#include "store_workflows.h"
#include "temp_database.h"
#include "text/cp950.h"

namespace qor::faults {

using qor::test::Box;

constexpr int kPromotionItems = 40;
constexpr int kFreshGoods = 30;
constexpr int kTimeLimitMs = 60000;

inline std::string numbered(const char* prefix, int i) {
    char text[16];
    std::snprintf(text, sizeof text, "%s%03d", prefix, i);
    return text;
}

inline std::string headOfficeRows(int promotionItems = kPromotionItems) {
    std::string sql =
        "INSERT INTO PSALE_MASTER (MASTERBILLID, BILL_DATE, SOURCE_ID, INI_DATE, END_DATE, "
        "BILL_TYPE, PRO_NO) VALUES ('PBIG', '2024/04/20', '', '2024/05/01', '2024/05/31', '1', "
        "'P-BIG');\n";
    for (int i = 1; i <= promotionItems; ++i)
        sql += "INSERT INTO PSALE_SUB (MASTERBILLID, KEYINTIME, PROD_ID, PROD_NAME, PSALE_PRICE, "
               "OLD_PRICE, N_QTY, INI_DATE, END_DATE) VALUES ('PBIG', '" + numbered("", i) +
               "', '" + numbered("P", i) + "', 'item', 90, 100, 2, '2024/05/01', '2024/05/31');\n";
    for (int i = 1; i <= kFreshGoods; ++i)
        sql += "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE, PROD_NAME, PSALE_PRICE, VIP_PRICE, "
               "STOCK_QTY) VALUES ('" + numbered("N", i) + "', '" + numbered("N", i) +
               "', 'fresh', 10, 9, 'N');\n";
    return sql;
}

// The products of PBIG's items and the fresh-goods category.
inline std::string storeRows(int promotionItems = kPromotionItems) {
    std::string sql = "INSERT INTO PROD_ITEM VALUES ('0109099', 'fresh');\n";
    for (int i = 1; i <= promotionItems; ++i)
        sql += "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE) VALUES ('" + numbered("P", i) +
               "', '" + numbered("B", i) + "');\n";
    return sql;
}

class StoreFixture : public ::testing::Test {
protected:
    // The workflows, their definition files (the store as `files` says) and httpset.ini (the
    // gateway, when there is one) in `folder`.
    void openWorkflows(const std::string& folder, const qor::test::DbxFiles& files,
                       const qor::test::GatewayProcess* gateway) {
        qor::test::writeDbxFiles(folder, files);
        qor::test::useDbxFilesIn(paths, folder);
        if (gateway) gateway->writeHttpSet(folder);
        w = std::make_unique<qor::test::Workflows>(paths, folder, kTimeLimitMs);
    }

    void downloadPromotions() { handle([&] { w->promotions.download(); }); }
    // The item check as the window makes it: the transfer unless products are lacking.
    void checkAndTransfer() {
        handle([&] {
            if (!w->promotions.checkItems()) w->promotions.transferUntaken();
        });
    }
    void downloadFreshGoods() { handle([&] { w->products.download("7", true); }); }
    void importAll() { handle([&] { w->import.importAll(); }); }
    void importCurrent() { handle([&] { w->import.importCurrent(); }); }
    template <typename Action>
    void handle(Action&& action) {
        w->dialogs.handle(action);
    }

    // Lists products as a download does, each with a name, the category and both required
    // prices; the first is current.
    void list(const std::vector<std::string>& codes, const std::string& category) {
        std::vector<qor::test::ListedRow> rows;
        for (const std::string& code : codes) rows.push_back({code, category});
        qor::test::listProducts(products(), rows, "ours");
    }

    ds::Dataset& products() { return w->objects.CDS_PRODUCT; }
    ds::Dataset& items() { return w->promotions.CDS_PSaleSub; }

    // Column V of each row of a statement, read on a connection of its own.
    std::vector<std::string> storeValues(const std::string& sql) {
        std::vector<std::string> values;
        for (const ds::Row& row : qor::test::storeRowsOf(paths, sql))
            values.push_back(ds::valueToText(row.at(0)));
        return values;
    }
    std::size_t storeCount(const std::string& table, const std::string& condition) {
        return std::stoul(
            storeValues("SELECT COUNT(*) AS V FROM " + table + " WHERE " + condition).at(0));
    }
    std::size_t transferredMasters() { return storeCount("PSALE_MASTER", "SOURCE_ID = 'PBIG'"); }
    std::size_t transferredItems() { return storeCount("PSALE_SUB", "MASTERBILLID = 'IMPBIG'"); }
    std::size_t importedFreshGoods() { return storeCount("PRODUCT", "PROD_ID STARTING WITH 'N'"); }

    // Runs `action` once, when the walk of `data` under held display updates reaches its
    // `step`-th row: the rows before it have been written by then.
    void duringTheWalk(ds::Dataset& data, int step, std::function<void()> action) {
        walked_ = 0;
        data.afterScroll = [this, step, action](ds::Dataset& d) {
            if (d.controlsDisabled() && ++walked_ == step) action();
        };
    }

    std::string boxTexts() const {
        std::string all;
        for (const Box& box : w->dialogs.boxes) all += "[" + box.text + "] ";
        return all;
    }

    storedb::FixedDefinitionPaths paths{QOR_BIN_DIR};
    std::unique_ptr<qor::test::Workflows> w;

private:
    int walked_ = 0;
};

}  // namespace qor::faults
