#pragma once
// A failure of the exchange with the gateway: connecting, writing, reading, an unwanted
// status, or writing the reply dump. Its text follows the address in the message box.
#include <stdexcept>
#include <string>

namespace qor::gateway {

class TransportFailure : public std::runtime_error {
public:
    explicit TransportFailure(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace qor::gateway
