#pragma once
// What starts and commits an explicit transaction on a store connection.
#include <cstdint>

namespace qor::storedb {

// Values of TransactionDesc::isolationLevel; any other value takes the connection's own
// ("Interbase TransIsolation").
inline constexpr std::uint32_t kReadCommitted = 0;
inline constexpr std::uint32_t kRepeatableRead = 1;
inline constexpr std::uint32_t kDirtyRead = 2;

struct TransactionDesc {
    std::uint32_t transactionId = 0;
    std::uint32_t globalId = 0;
    std::uint32_t isolationLevel = kReadCommitted;
    std::uint32_t customIsolation = 0;
};

}  // namespace qor::storedb
