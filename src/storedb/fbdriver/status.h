#pragma once
// The client's status vector and the text of a failure.
#include <array>
#include <string>

#include "client_api.h"

namespace qor::fbdriver {

class Status {
public:
    ISC_STATUS* get() { return vector_.data(); }
    const ISC_STATUS* get() const { return vector_.data(); }
    // True when the last call reported an error.
    bool failed() const { return vector_[0] == isc_arg_gds && vector_[1] != 0; }
    // The first GDS code of the vector: what went wrong, at its most general.
    ISC_STATUS code() const { return vector_[1]; }

private:
    std::array<ISC_STATUS, ISC_STATUS_LENGTH> vector_{};
};

// The failure's own lines, as the client words them, joined with "\n".
std::string statusText(const ClientApi& api, const Status& status);

// The five-character SQLSTATE of the failure.
std::string sqlState(const ClientApi& api, const Status& status);

// Throws a dbx::DatabaseError with the failure's text, its first GDS code and its SQLSTATE
// when `status` reports an error.
void check(const ClientApi& api, const Status& status);

}  // namespace qor::fbdriver
