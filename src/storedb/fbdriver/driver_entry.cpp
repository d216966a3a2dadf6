// The plugin's one exported function: the store-database layer finds it by name.
#include <string>
#include <type_traits>

#include "client_api.h"
#include "fb_connection.h"
#include "storedb/dbx_driver.h"

extern "C" QOR_DRIVER_ENTRY qor::dbx::Driver* getSQLDriverINTERBASE(
    const char* vendorLib, const char* /*errorResourceFile*/, std::string* error) {
    // Firebird words its own messages; a file of error texts has nothing to add here.
    std::string name = vendorLib ? vendorLib : "";
    const qor::fbdriver::ClientApi* api = qor::fbdriver::loadClientApi(name, error);
    if (!api) return nullptr;
    try {
        return new qor::fbdriver::FbDriver(*api);
    } catch (const std::exception& e) {
        if (error) *error = e.what();
        return nullptr;
    }
}

// The entry function has the type the layer calls it through.
static_assert(std::is_same_v<decltype(&getSQLDriverINTERBASE), qor::dbx::GetDriverFunc>);
