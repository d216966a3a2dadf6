#pragma once
// One line per request on stderr: when, who, the HTTP status, the rows sent (or "-"), how
// long it took, and for an error reply its message.
#include <chrono>
#include <ctime>
#include <optional>
#include <string>

namespace qor::headoffice {

struct RequestRecord {
    std::time_t when = 0;              // local time of the request's arrival
    std::string peer;                  // address:port of the store
    int status = 0;                    // HTTP status sent
    std::optional<std::size_t> rows;   // rows of a packet reply
    std::chrono::milliseconds elapsed{0};
    std::string error;                 // message of a "<RESULT>" reply, code page 950
    bool cutOff = false;               // `error` came after the reply had begun: it was cut off
    bool cached = false;               // the reply cache's bytes
};

// "2024-05-01 09:30:12 127.0.0.1:40112 200 rows=12 4ms" or
// "2024-05-01 09:30:12 127.0.0.1:40112 200 rows=- 1ms <RESULT>Invalid user name or password"
// or, when reading rows failed after the first ones had gone out,
// "2024-05-01 09:30:12 127.0.0.1:40112 200 rows=768 90ms cut off: <message>"
// and, for a reply from the reply cache,
// "2024-05-01 09:30:12 127.0.0.1:40112 200 rows=12 0ms cached"
// The error text is shown in UTF-8, on one line.
std::string formatLogLine(const RequestRecord& record);

// Writes the line and a newline to stderr in one piece, so lines from requests served at
// the same time do not mix.
void writeLogLine(const RequestRecord& record);

}  // namespace qor::headoffice
