#include "text/system_text.h"

#include <locale.h>

#include <cstring>

namespace qor::text {

std::string inCLocale(const std::function<std::string()>& read) {
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", locale_t{});
    if (cLocale == locale_t{}) return read();
    // Thread by thread: another thread reading a text meanwhile keeps its own locale.
    struct Restore {
        locale_t previous;
        ~Restore() { ::uselocale(previous); }
    } restore{::uselocale(cLocale)};
    return read();
}

std::string systemErrorText(int errorNumber) {
    return inCLocale([errorNumber] { return std::string(std::strerror(errorNumber)); });
}

std::string systemErrorText(const std::error_code& error) {
    return inCLocale([&error] { return error.message(); });
}

}  // namespace qor::text
