#include "shell_command.h"

#include <process.h>
#include <stdlib.h>

#include <array>
#include <cstdio>
#include <stdexcept>

namespace qor::test {

std::pair<int, std::string> runShellCommand(const std::string& command) {
    std::string output;
    FILE* pipe = ::_popen(command.c_str(), "rb");
    if (!pipe) throw std::runtime_error("cannot run: " + command);
    std::array<char, 4096> buffer{};
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
    return {::_pclose(pipe), output};
}

std::string shellQuote(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

int currentProcessId() { return ::_getpid(); }

void setEnvironment(const std::string& name, const std::string& value) {
    // An empty value removes the variable.
    ::_putenv_s(name.c_str(), value.c_str());
}

}  // namespace qor::test
