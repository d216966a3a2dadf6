#include "text/long_options.h"

#include <stdexcept>

#include "text/ascii.h"

namespace qor::text {

std::vector<LongOption> readLongOptions(const std::vector<std::string>& args) {
    std::vector<LongOption> options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.push_back({true, "help", ""});
            continue;
        }
        if (arg.rfind("--", 0) != 0) throw std::invalid_argument("unexpected '" + arg + "'");
        LongOption option{false, arg.substr(2), ""};
        if (const auto eq = option.name.find('='); eq != std::string::npos) {
            option.value = option.name.substr(eq + 1);
            option.name.resize(eq);
        } else {
            if (i + 1 >= args.size())
                throw std::invalid_argument("--" + option.name + " wants a value");
            option.value = args[++i];
        }
        options.push_back(std::move(option));
    }
    return options;
}

int wholeNumberOption(const std::string& name, const std::string& value, int low, int high) {
    const auto number = parseWholeNumber<int>(value);
    if (!number || *number < low || *number > high)
        throw std::invalid_argument("--" + name + " wants a number from " + std::to_string(low) +
                                    " to " + std::to_string(high) + ", not '" + value + "'");
    return *number;
}

}  // namespace qor::text
