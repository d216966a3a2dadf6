#pragma once
// The window over a fresh store database made for one test, talking to a qor-gateway its
// suite shares. httpset.ini, the reply dumps and the definition files sit in the store's
// folder. A suite derives from it and starts its gateway in SetUpTestSuite.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "gateway/FrmDataModHttp.h"
#include "gateway_process.h"
#include "recording_dialogs.h"
#include "temp_database.h"
#include "window/FrmQorClient.h"

namespace qor::window::test {

constexpr int kTestTimeoutMs = 20000;

class StoreWindow : public ::testing::Test {
protected:
    // Makes the store from `storeSql` (isql text) and shows the window over it.
    void openWindow(const std::string& storeSql, const qor::test::GatewayProcess& gateway) {
        store = std::make_unique<qor::test::TempDatabase>(storeSql);
        qor::test::writeDbxFiles(store->folder(), store->path());
        qor::test::useDbxFilesIn(paths, store->folder());
        gateway.writeHttpSet(folder());
        form = std::make_unique<TFormQorClient>(dialogs, nullptr, &paths);
        http = std::make_unique<gateway::TDataModHttp>(folder(), folder(), dialogs,
                                                       kTestTimeoutMs);
        form->setDataModHttp(http.get());
        form->show();
    }

    // httpset.ini for 127.0.0.1:`port`, and a new gateway module reading it.
    void pointGatewayAt(int port) {
        std::ofstream(store->folder() / "httpset.ini")
            << "[set]\r\nhost=127.0.0.1\r\nport=" << port << "\r\n";
        http = std::make_unique<gateway::TDataModHttp>(folder(), folder(), dialogs,
                                                       kTestTimeoutMs);
        form->setDataModHttp(http.get());
    }

    std::string folder() const { return store->folder().string(); }

    storedb::FixedDefinitionPaths paths{QOR_BIN_DIR};
    std::unique_ptr<qor::test::TempDatabase> store;
    RecordingDialogs dialogs;
    std::unique_ptr<gateway::TDataModHttp> http;
    std::unique_ptr<TFormQorClient> form;
};

}  // namespace qor::window::test
