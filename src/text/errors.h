#pragma once
// Failures that end a user action. Every message is code page 950 bytes. They live in src/text,
// the ground floor under every module, so each module can raise them without knowing the window.
#include <stdexcept>
#include <string>
#include <string_view>

namespace qor {

// An error whose text is shown to the user in the error box. One the database reported also
// carries the database's codes, so callers and tests can tell failures apart by code rather
// than by their wording.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
    // `gdsCode`: Firebird's first GDS code of the status vector (the isc_... values of
    // iberror.h); `sqlState`: the five-character SQLSTATE.
    Error(const std::string& message, long gdsCode, std::string_view sqlState)
        : std::runtime_error(message), gdsCode_(gdsCode) {
        sqlState.copy(sqlState_, sizeof sqlState_ - 1);
    }

    // 0 and "" for failures the database did not report.
    long gdsCode() const noexcept { return gdsCode_; }
    std::string_view sqlState() const noexcept { return sqlState_; }

private:
    long gdsCode_ = 0;
    char sqlState_[6] = {};
};

// Ends the action with nothing shown: the user has already been told.
class SilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return "silent abort"; }
};

// printf-like filling of the one "%s" in a message pattern.
std::string format(std::string_view pattern, std::string_view arg);
std::string format(std::string_view pattern, std::string_view a, std::string_view b,
                   std::string_view c);

}  // namespace qor
