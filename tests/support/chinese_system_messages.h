#pragma once
// The process under Traditional Chinese system messages, as on a zh_TW desktop (Qt takes the
// user's locale at start-up), for as long as the object lives; the C locale afterwards.
#include <cerrno>
#include <clocale>
#include <cstring>
#include <string>

#include "shell_command.h"

namespace qor::test {

class ChineseSystemMessages {
public:
    ChineseSystemMessages() {
        setEnvironment("LANGUAGE", "zh_TW");
        set_ = std::setlocale(LC_ALL, "C.UTF-8") != nullptr;
    }
    ~ChineseSystemMessages() {
        std::setlocale(LC_ALL, "C");
        setEnvironment("LANGUAGE", "");
    }
    ChineseSystemMessages(const ChineseSystemMessages&) = delete;
    ChineseSystemMessages& operator=(const ChineseSystemMessages&) = delete;

    // The system's texts do come translated here: its translations are installed.
    bool translated() const {
        return set_ && std::string(std::strerror(ENOTDIR)) != "Not a directory";
    }

private:
    bool set_ = false;
};

}  // namespace qor::test
