#pragma once
// Failures that end a user action. Every message is code page 950 bytes. They live in src/text,
// the ground floor under every module, so each module can raise them without knowing the window.
#include <stdexcept>
#include <string>
#include <string_view>

namespace qor {

// What a database says about a failure besides its text: Firebird's first GDS code of the
// status vector (the isc_... values of iberror.h) and the five-character SQLSTATE. Both are
// 0 and "" for a failure the database did not report.
class DatabaseCodes {
public:
    DatabaseCodes() = default;
    DatabaseCodes(long gdsCode, std::string_view sqlState) : gdsCode_(gdsCode) {
        sqlState.copy(sqlState_, sizeof sqlState_ - 1);
    }
    long gdsCode() const noexcept { return gdsCode_; }
    std::string_view sqlState() const noexcept { return sqlState_; }

private:
    long gdsCode_ = 0;
    char sqlState_[6] = {};
};

// An error whose text is shown to the user in the error box. One the database reported also
// carries the database's codes, so callers and tests can tell failures apart by code rather
// than by their wording.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
    Error(const std::string& message, const DatabaseCodes& codes)
        : std::runtime_error(message), codes_(codes) {}

    long gdsCode() const noexcept { return codes_.gdsCode(); }
    std::string_view sqlState() const noexcept { return codes_.sqlState(); }

private:
    DatabaseCodes codes_;
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
