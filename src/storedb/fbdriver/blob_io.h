#pragma once
// Blob values read and written whole.
#include <string>

#include "client_api.h"

namespace qor::fbdriver {

// Reads the blob `id`, at most `limit` bytes (-1: all of it).
std::string readBlob(const ClientApi& api, isc_db_handle* db, isc_tr_handle* tr, ISC_QUAD id,
                     long limit);

// Writes `bytes` as a new blob in the transaction and returns its id.
ISC_QUAD writeBlob(const ClientApi& api, isc_db_handle* db, isc_tr_handle* tr,
                   const std::string& bytes);

}  // namespace qor::fbdriver
