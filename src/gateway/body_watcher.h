#pragma once
// Something that follows a reply body while it arrives. The reader tells it after every block
// it has read into the body, whatever the framing, so whatever wants to see the transfer
// (reading the packet early, the progress of the work) hooks in here.
#include <cstddef>
#include <optional>
#include <string_view>

namespace qor::gateway {

class BodyWatcher {
public:
    virtual ~BodyWatcher() = default;
    // Before the first byte; `announced` is the reply's Content-Length when it gave one.
    virtual void bodyStarts(std::optional<std::size_t> announced) { (void)announced; }
    // After each block: `soFar` is the whole body received up to now. It is valid only
    // during the call. Throwing ends the exchange with that failure.
    virtual void bodyGrew(std::string_view soFar) = 0;
};

}  // namespace qor::gateway
