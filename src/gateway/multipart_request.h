#pragma once
// The bytes of a gateway request: the multipart/form-data body and the request head.
#include <ctime>
#include <string>
#include <vector>

#include "gateway/http_address.h"

namespace qor::gateway {

struct FormField {
    std::string name;
    std::string value;
};

// "--------" followed by the local date and time as MMDDYYhhmmsszzz.
std::string boundaryFor(const std::tm& local, int millisecond);

// Per field: "--" boundary, the Content-Disposition line, an empty line, the value; then an
// empty line and "--" boundary "--". Every line ends with CR LF, the last one included.
std::string multipartBody(const std::string& boundary, const std::vector<FormField>& fields);

// Request line and headers up to and including the empty line. `cookies` is the Cookie
// header's value; no Cookie header when it is empty.
std::string requestHead(const HttpAddress& address, const std::string& boundary,
                        std::size_t contentLength, const std::string& cookies);

}  // namespace qor::gateway
