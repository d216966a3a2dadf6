#include "reply_head.h"

#include <cstdio>

#include "gateway_reply.h"

namespace qor::headoffice {

std::string_view statusText(int status) {
    switch (status) {
    case 100: return "Continue";
    case 200: return "OK";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 413: return "Payload Too Large";
    case 414: return "URI Too Long";
    case 431: return "Request Header Fields Too Large";
    case 503: return "Service Unavailable";
    default: return "Internal Server Error";
    }
}

namespace {

std::string statusLine(int status) {
    std::string line = "HTTP/1.1 " + std::to_string(status) + " ";
    line += statusText(status);
    return line + "\r\n";
}

}  // namespace

std::string wholeReplyHead(std::size_t length) {
    return statusLine(200) + "Connection: close\r\nContent-Length: " + std::to_string(length) +
           "\r\nContent-Type: " + kReplyContentType + "\r\n\r\n";
}

std::string chunkedReplyHead() {
    return statusLine(200) + "Connection: close\r\nContent-Type: " + kReplyContentType +
           "\r\nTransfer-Encoding: chunked\r\n\r\n";
}

void appendChunk(std::string& out, std::string_view bytes) {
    if (bytes.empty()) return;
    char size[20];
    const int n = std::snprintf(size, sizeof size, "%zx\r\n", bytes.size());
    out.append(size, static_cast<std::size_t>(n));
    out += bytes;
    out += "\r\n";
}

std::string emptyReply(int status, bool toHead) {
    return statusLine(status) + (toHead ? "Accept-Ranges: bytes\r\n" : "") +
           "Connection: close\r\nContent-Length: 0\r\n\r\n";
}

}  // namespace qor::headoffice
