#include "gateway/multipart_request.h"

#include <cstdio>

namespace qor::gateway {

std::string boundaryFor(const std::tm& local, int millisecond) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%02d%02d%02d%02d%02d%02d%03d", local.tm_mon + 1,
                  local.tm_mday, local.tm_year % 100, local.tm_hour, local.tm_min,
                  local.tm_sec, millisecond);
    return std::string("--------") + digits;
}

std::string multipartBody(const std::string& boundary, const std::vector<FormField>& fields) {
    std::string body;
    for (const auto& field : fields) {
        body += "--" + boundary + "\r\n";
        body += "Content-Disposition: form-data; name=\"" + field.name + "\"\r\n";
        body += "\r\n";
        body += field.value + "\r\n";
    }
    body += "\r\n";
    body += "--" + boundary + "--\r\n";
    return body;
}

std::string requestHead(const HttpAddress& address, const std::string& boundary,
                        std::size_t contentLength, const std::string& cookies) {
    std::string head = "POST " + address.target + " HTTP/1.0\r\n";
    head += "Connection: keep-alive\r\n";
    head += "Content-Type: multipart/form-data; boundary=" + boundary + "\r\n";
    head += "Content-Length: " + std::to_string(contentLength) + "\r\n";
    head += "Host: " + hostHeader(address) + "\r\n";
    head += "Accept: text/html, */*\r\n";
    head += "Accept-Encoding: big5\r\n";
    head += "User-Agent: Mozilla/4.0 (compatible; Indy Library)\r\n";
    if (!cookies.empty()) head += "Cookie: " + cookies + "\r\n";
    head += "\r\n";
    return head;
}

}  // namespace qor::gateway
