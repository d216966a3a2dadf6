#pragma once
// A transaction of an attachment as its statements and cursors see it.
#include <cstdint>

#include "client_api.h"

namespace qor::fbdriver {

struct Transaction {
    isc_tr_handle handle = 0;
    // Numbers the attachment's transactions, so a cursor can tell the one it lives in from a
    // later one that got the same handle.
    std::uint64_t serial = 0;

    bool active() const { return handle != 0; }
};

// How a transaction ends.
enum class Outcome { Commit, Rollback };

}  // namespace qor::fbdriver
