#pragma once
// The command lines of the project's tools: options "--name value" or "--name=value", and
// "--help" or "-h". A word that is no option fails with "unexpected '<word>'", an option
// without its value with "--<name> wants a value" (std::invalid_argument).
#include <string>
#include <vector>

namespace qor::text {

struct LongOption {
    bool help = false;  // --help or -h, which take no value
    std::string name;   // without its dashes
    std::string value;
};

std::vector<LongOption> readLongOptions(const std::vector<std::string>& args);

// `value` as a whole number from `low` to `high`; otherwise fails with
// "--<name> wants a number from <low> to <high>, not '<value>'" (std::invalid_argument).
int wholeNumberOption(const std::string& name, const std::string& value, int low, int high);

}  // namespace qor::text
