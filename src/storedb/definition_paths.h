#pragma once
// Where the two definition files are found: two per-user values ("Connection Registry File",
// "Driver Registry File") and the folder of the executable. The window answers from QSettings;
// command-line tools and tests use the implementations below.
#include <map>
#include <string>
#include <string_view>

namespace qor::storedb {

inline constexpr std::string_view kConnectionRegistryFile = "Connection Registry File";
inline constexpr std::string_view kDriverRegistryFile = "Driver Registry File";
inline constexpr std::string_view kConnectionsFileName = "dbxconnections.ini";
inline constexpr std::string_view kDriversFileName = "dbxdrivers.ini";

// One per-user value as it was found.
struct UserValue {
    enum class State { Absent, Text, NotText };
    State state = State::Absent;
    std::string text;

    static UserValue absent() { return {}; }
    static UserValue of(std::string text) { return {State::Text, std::move(text)}; }
    static UserValue notText() { return {State::NotText, {}}; }
};

class DefinitionPaths {
public:
    virtual ~DefinitionPaths() = default;
    virtual UserValue userValue(std::string_view name) const = 0;
    // Without a trailing "/".
    virtual std::string executableDir() const = 0;
};

// The value when it is text and not empty, else `fileName` in the executable's folder;
// a value that is no text gives the empty path, which no file answers to.
std::string definitionFilePath(const DefinitionPaths& paths, std::string_view valueName,
                               std::string_view fileName);
inline std::string connectionDefinitionPath(const DefinitionPaths& paths) {
    return definitionFilePath(paths, kConnectionRegistryFile, kConnectionsFileName);
}
inline std::string driverDefinitionPath(const DefinitionPaths& paths) {
    return definitionFilePath(paths, kDriverRegistryFile, kDriversFileName);
}

// Values given in code (tests, a gateway that names its files itself).
class FixedDefinitionPaths : public DefinitionPaths {
public:
    explicit FixedDefinitionPaths(std::string executableDir) : exeDir_(std::move(executableDir)) {}
    void set(std::string_view name, UserValue value) { values_[std::string(name)] = std::move(value); }
    void remove(std::string_view name) { values_.erase(std::string(name)); }
    UserValue userValue(std::string_view name) const override;
    std::string executableDir() const override { return exeDir_; }

private:
    std::string exeDir_;
    std::map<std::string, UserValue, std::less<>> values_;
};

// The running process: the folder of /proc/self/exe, and the two values read from the
// per-user settings file ~/.config/Borland/DBExpress.conf (the file QSettings writes for
// "Borland"/"DBExpress"), read afresh on every call.
class ProcessDefinitionPaths : public DefinitionPaths {
public:
    UserValue userValue(std::string_view name) const override;
    std::string executableDir() const override;
};

// The folder of the running executable (no trailing "/").
std::string currentExecutableDir();

}  // namespace qor::storedb
