#pragma once
// Result columns: their description and their values, as the dataset engine holds them.
#include <string>

#include "client_api.h"
#include "dataset/value.h"

namespace qor::fbdriver {

// Name (the alias the database reports), kind, byte size of texts, scale of scaled numbers.
ds::ColumnDef describeColumn(const XSQLVAR& var);

// What reading a value may need besides the row: blobs are read in the cursor's transaction.
struct ReadContext {
    const ClientApi* api = nullptr;
    isc_db_handle* db = nullptr;
    isc_tr_handle* tr = nullptr;
    bool trimChar = false;  // trailing blanks of fixed-length text removed
    long blobLimit = -1;
};

// The fetched value of one column; text byte for byte.
ds::Value readColumn(const XSQLVAR& var, const ReadContext& context);

}  // namespace qor::fbdriver
