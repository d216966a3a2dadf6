#pragma once
#include <cstdint>

namespace qor::storedb {

// What starts and commits a transaction. isolationLevel: 0 read committed, 1 repeatable
// read, 2 dirty read.
struct TransactionDesc {
    std::uint32_t transactionId = 0;
    std::uint32_t globalId = 0;
    std::uint32_t isolationLevel = 0;
    std::uint32_t customIsolation = 0;
};

}  // namespace qor::storedb
