#pragma once
// The parts of a gateway reply: status line, headers and the body's framing.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gateway/reply_reader.h"

namespace qor::gateway {

struct ReplyHead {
    std::string statusLine;  // as received, CR LF dropped
    int status = -1;         // -1 when the code is not a number
    std::vector<std::pair<std::string, std::string>> headers;  // value without outer blanks

    // The first header of that name (letter case ignored); nullptr when there is none.
    const std::string* header(std::string_view name) const;
    bool hasHeaderContaining(std::string_view name, std::string_view part) const;
};

// The second blank-separated word of the status line as a whole number; -1 when it is not one.
int statusCodeOf(std::string_view statusLine);

// A status line and its header lines up to the first empty line.
ReplyHead readReplyHead(ReplyReader& reader);

// The body as the head frames it: Content-Length bytes when above 0 (fewer if the gateway
// closes sooner); else chunked when Transfer-Encoding says so; else, with no Content-Length
// or one that is no number, everything up to the close; else nothing. 204 and 304 have none.
// `watcher`, when given, follows the body as it arrives.
std::string readReplyBody(ReplyReader& reader, const ReplyHead& head,
                          BodyWatcher* watcher = nullptr);

}  // namespace qor::gateway
