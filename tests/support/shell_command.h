#pragma once
// Commands the fixtures run through the system's shell (isql, the programs under test).
#include <string>
#include <utility>

namespace qor::test {

// Runs `command` through the shell and waits for it; returns its exit status (-1 when it did
// not exit by itself) and what it wrote to standard output. Throws std::runtime_error when it
// cannot be started.
std::pair<int, std::string> runShellCommand(const std::string& command);

// `text` as one word of a shell command.
std::string shellQuote(const std::string& text);

// This process's id, to name files that tests running side by side must not share.
int currentProcessId();

// Sets (or, with an empty `value`, removes) a variable of this process's environment.
void setEnvironment(const std::string& name, const std::string& value);

}  // namespace qor::test
