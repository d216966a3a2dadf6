#include "client_api.h"

#include <map>
#include <memory>
#include <mutex>

#include "text/shared_library.h"

namespace qor::fbdriver {
namespace {

template <typename F>
bool resolve(void* library, const char* symbol, F& function) {
    function = reinterpret_cast<F>(text::findLibrarySymbol(library, symbol));
    return function != nullptr;
}

bool resolveAll(void* lib, ClientApi& api) {
    return resolve(lib, "isc_attach_database", api.attach_database) &&
           resolve(lib, "isc_detach_database", api.detach_database) &&
           resolve(lib, "isc_start_multiple", api.start_multiple) &&
           resolve(lib, "isc_commit_transaction", api.commit_transaction) &&
           resolve(lib, "isc_commit_retaining", api.commit_retaining) &&
           resolve(lib, "isc_rollback_transaction", api.rollback_transaction) &&
           resolve(lib, "isc_dsql_allocate_statement", api.dsql_allocate_statement) &&
           resolve(lib, "isc_dsql_prepare", api.dsql_prepare) &&
           resolve(lib, "isc_dsql_describe", api.dsql_describe) &&
           resolve(lib, "isc_dsql_describe_bind", api.dsql_describe_bind) &&
           resolve(lib, "isc_dsql_execute", api.dsql_execute) &&
           resolve(lib, "isc_dsql_execute2", api.dsql_execute2) &&
           resolve(lib, "isc_dsql_fetch", api.dsql_fetch) &&
           resolve(lib, "isc_dsql_free_statement", api.dsql_free_statement) &&
           resolve(lib, "isc_dsql_sql_info", api.dsql_sql_info) &&
           resolve(lib, "isc_open_blob2", api.open_blob2) &&
           resolve(lib, "isc_create_blob2", api.create_blob2) &&
           resolve(lib, "isc_get_segment", api.get_segment) &&
           resolve(lib, "isc_put_segment", api.put_segment) &&
           resolve(lib, "isc_close_blob", api.close_blob) &&
           resolve(lib, "fb_interpret", api.interpret) &&
           resolve(lib, "fb_sqlstate", api.sqlstate);
}

}  // namespace

const ClientApi* loadClientApi(const std::string& name, std::string* error) {
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<ClientApi>> loaded;
    std::lock_guard lock(mutex);
    if (auto found = loaded.find(name); found != loaded.end()) return found->second.get();

    auto fail = [&]() -> const ClientApi* {
        if (error) *error = "Unable to Load " + name;
        return nullptr;
    };
    if (name.empty()) return fail();
    void* library = text::openSharedLibrary(name);
    if (!library) return fail();
    auto api = std::make_unique<ClientApi>();
    if (!resolveAll(library, *api)) {
        text::closeSharedLibrary(library);
        return fail();
    }
    return loaded.emplace(name, std::move(api)).first->second.get();
}

}  // namespace qor::fbdriver
