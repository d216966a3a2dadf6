#include "text/system_text.h"

#include <windows.h>

#include <clocale>
#include <cstring>

namespace qor::text {

std::string inCLocale(const std::function<std::string()>& read) {
    // Thread by thread: another thread reading a text meanwhile keeps its own locale.
    const int previousMode = ::_configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
    const char* current = std::setlocale(LC_ALL, nullptr);
    const std::string previous = current ? current : "C";
    std::setlocale(LC_ALL, "C");
    struct Restore {
        const std::string& locale;
        int mode;
        ~Restore() {
            std::setlocale(LC_ALL, locale.c_str());
            ::_configthreadlocale(mode);
        }
    } restore{previous, previousMode};
    return read();
}

std::string systemErrorText(int errorNumber) {
    return inCLocale([errorNumber] { return std::string(std::strerror(errorNumber)); });
}

namespace {

// FormatMessage's text for a Windows error code in the given language; empty when it has none.
std::string formatMessage(DWORD code, WORD language) {
    char* buffer = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, language, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length && buffer ? std::string(buffer, length) : std::string();
    if (buffer) ::LocalFree(buffer);
    // The texts end in a full stop and CR LF; callers add their own full stop.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                             text.back() == '.'))
        text.pop_back();
    return text;
}

}  // namespace

std::string systemErrorText(const std::error_code& error) {
    // Socket and file errors arrive as Windows error codes (std's or Boost's system category,
    // both named "system"); their English text is the same on every Windows.
    if (std::strcmp(error.category().name(), "system") == 0 && error.value() != 0) {
        const DWORD code = static_cast<DWORD>(error.value());
        std::string text = formatMessage(code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        if (text.empty()) text = formatMessage(code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT));
        if (!text.empty()) return text;
    }
    return inCLocale([&error] { return error.message(); });
}

}  // namespace qor::text
