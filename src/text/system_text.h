#pragma once
// Texts of failures the operating system reports (strerror, socket and file errors). Under
// the user's locale they come translated, in the locale's own encoding (UTF-8 Chinese under
// zh_TW), which a box showing code page 950 would garble; read in the C locale they are plain
// ASCII English on every machine. On Windows a system error code's text is FormatMessage's,
// asked for in English, without the full stop and line end it ends with.
#include <functional>
#include <string>
#include <system_error>

namespace qor::text {

// What `read` returns (a library's message function, say) with the calling thread in the C
// locale for the call; the thread's locale is as it was afterwards.
std::string inCLocale(const std::function<std::string()>& read);

// strerror's text for an error number, and an error code's message, read in the C locale.
std::string systemErrorText(int errorNumber);
std::string systemErrorText(const std::error_code& error);

}  // namespace qor::text
