#pragma once
// Failures that end a user action. Every message is code page 950 bytes. They live in src/text,
// the ground floor under every module, so each module can raise them without knowing the window.
#include <stdexcept>
#include <string>
#include <string_view>

namespace qor {

// An error whose text is shown to the user in the error box.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
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
