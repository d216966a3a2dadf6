#pragma once
// The Firebird client library, loaded at run time. Only ibase.h's declarations are used at
// build time, so a machine without the client library still loads the driver and gets a clear
// "Unable to Load" when it connects.
#include <ibase.h>

#include <string>

namespace qor::fbdriver {

struct ClientApi {
    decltype(&::isc_attach_database) attach_database;
    decltype(&::isc_detach_database) detach_database;
    decltype(&::isc_start_multiple) start_multiple;
    decltype(&::isc_commit_transaction) commit_transaction;
    decltype(&::isc_commit_retaining) commit_retaining;
    decltype(&::isc_rollback_transaction) rollback_transaction;
    decltype(&::isc_dsql_allocate_statement) dsql_allocate_statement;
    decltype(&::isc_dsql_prepare) dsql_prepare;
    decltype(&::isc_dsql_describe) dsql_describe;
    decltype(&::isc_dsql_describe_bind) dsql_describe_bind;
    decltype(&::isc_dsql_execute) dsql_execute;
    decltype(&::isc_dsql_execute2) dsql_execute2;
    decltype(&::isc_dsql_fetch) dsql_fetch;
    decltype(&::isc_dsql_free_statement) dsql_free_statement;
    decltype(&::isc_dsql_sql_info) dsql_sql_info;
    decltype(&::isc_open_blob2) open_blob2;
    decltype(&::isc_create_blob2) create_blob2;
    decltype(&::isc_get_segment) get_segment;
    decltype(&::isc_put_segment) put_segment;
    decltype(&::isc_close_blob) close_blob;
    decltype(&::fb_interpret) interpret;
    decltype(&::fb_sqlstate) sqlstate;
};

// Loads the client library `name` (a file name looked up by the system's search, or a path)
// once per process and resolves the functions above. On failure returns nullptr and sets
// *error to "Unable to Load <name>". The library stays loaded until the process ends: the
// client keeps threads and exit handlers of its own.
const ClientApi* loadClientApi(const std::string& name, std::string* error);

}  // namespace qor::fbdriver
