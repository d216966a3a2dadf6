#pragma once
// The bytes of every reply head the gateway writes, and the chunked framing of long replies.
// Stores and tests read them byte for byte: a status line of HTTP/1.1 whatever the request's
// version, "Connection: close" (every connection serves one request), then the headers in
// the order of their names.
#include <cstddef>
#include <string>
#include <string_view>

namespace qor::headoffice {

// "HTTP/1.1 200 OK" and the headers of a reply of `length` bytes in kReplyContentType.
std::string wholeReplyHead(std::size_t length);
// The head of a reply sent chunked (Transfer-Encoding: chunked) in kReplyContentType.
std::string chunkedReplyHead();
// One chunk: its size in hexadecimal, CR LF, the bytes, CR LF. Empty bytes give nothing
// (an empty chunk would end the reply).
void appendChunk(std::string& out, std::string_view bytes);
// The chunk that ends a chunked reply: "0" CR LF CR LF.
inline constexpr std::string_view kLastChunk = "0\r\n\r\n";

// A whole reply without a body, for a request refused before any statement runs:
// 400 Bad Request, 404 Not Found, 413 Payload Too Large, 414 URI Too Long,
// 431 Request Header Fields Too Large, 503 Service Unavailable.
// A HEAD request's reply says "Accept-Ranges: bytes" as well.
std::string emptyReply(int status, bool toHead = false);
// The interim reply to "Expect: 100-continue".
inline constexpr std::string_view kContinueReply = "HTTP/1.1 100 Continue\r\n\r\n";

// The reason phrase of a status the gateway sends.
std::string_view statusText(int status);

}  // namespace qor::headoffice
