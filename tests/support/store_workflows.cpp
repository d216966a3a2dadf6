#include "store_workflows.h"

#include <fstream>

namespace qor::test {

Workflows::Workflows(const storedb::DefinitionPaths& paths, std::string folder_, int timeoutMs_)
    : folder(std::move(folder_)), timeoutMs(timeoutMs_), objects(paths) {
    http = std::make_unique<gateway::TDataModHttp>(folder, folder, dialogs, timeoutMs);
    headOffice.setGateway(http.get());
}

void Workflows::connectTo(int port) {
    std::ofstream(folder + "/httpset.ini") << "[set]\r\nhost=127.0.0.1\r\nport=" << port << "\r\n";
    http = std::make_unique<gateway::TDataModHttp>(folder, folder, dialogs, timeoutMs);
    headOffice.setGateway(http.get());
}

TempStore::TempStore(const std::string& storeSql) : store(storeSql) {
    writeDbxFiles(store.folder(), store.path());
    useDbxFilesIn(paths, store.folder());
}

StoreWorkflows::StoreWorkflows(const std::string& storeSql, int port)
    : TempStore(storeSql), Workflows(paths, store.folder().string()) {
    connectTo(port);
}

}  // namespace qor::test
