#pragma once
// The workflows as the window builds them, with no window: over the store the definition
// files name, a gateway module reading the httpset.ini in a folder, recorded boxes and a
// scripted progress. StoreWorkflows adds a store database made for one test, the definition
// files, httpset.ini and the reply dumps in its folder.
//
//     StoreWorkflows w(storeRows(), gateway->port());
//     w.dialogs.handle([&] { w.products.download("7", false); });
#include <memory>
#include <string>

#include "dataset/dataset.h"
#include "gateway/FrmDataModHttp.h"
#include "recording_dialogs.h"
#include "scripted_progress.h"
#include "storedb/store_objects.h"
#include "temp_database.h"
#include "workflows/head_office.h"
#include "workflows/product_download.h"
#include "workflows/product_import.h"
#include "workflows/promotions.h"
#include "workflows/sign_in.h"
#include "workflows/suppliers.h"

namespace qor::test {

inline constexpr int kTestTimeoutMs = 20000;

struct Workflows {
    // `folder` holds httpset.ini (read now) and receives the dumps.
    Workflows(const storedb::DefinitionPaths& paths, std::string folder,
              int timeoutMs = kTestTimeoutMs);

    // Rewrites httpset.ini for 127.0.0.1:`port` and reads it into a new gateway module.
    void connectTo(int port);

    std::string folder;
    int timeoutMs;
    RecordingDialogs dialogs;
    ScriptedProgress progress;
    storedb::StoreObjects objects;
    std::unique_ptr<gateway::TDataModHttp> http;
    ds::Dataset source{"CDS_Source"};
    workflows::HeadOffice headOffice{&progress};
    workflows::SignIn signIn{headOffice, dialogs};
    workflows::ProductDownload products{headOffice, objects, source, &progress};
    workflows::ProductImport import{objects, dialogs, &progress};
    workflows::Promotions promotions{headOffice, objects, source, products, dialogs, &progress};
    workflows::Suppliers suppliers{headOffice};
};

// A store database from db/store-schema.sql and `storeSql`, its definition files beside it.
struct TempStore {
    explicit TempStore(const std::string& storeSql);
    TempDatabase store;
    storedb::FixedDefinitionPaths paths{QOR_BIN_DIR};
};

struct StoreWorkflows : TempStore, Workflows {
    // The gateway module asks 127.0.0.1:`port`.
    StoreWorkflows(const std::string& storeSql, int port);
};

}  // namespace qor::test
