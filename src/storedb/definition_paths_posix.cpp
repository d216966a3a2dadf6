#include "storedb/definition_paths.h"

#include <cstdlib>
#include <filesystem>

#include "text/profile.h"

namespace qor::storedb {

namespace {

std::string settingsFilePath() {
    // QSettings' per-user folder on this platform.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return std::string(xdg) + "/Borland/DBExpress.conf";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config/Borland/DBExpress.conf";
}

// QSettings writes a blank inside a key as "%20".
std::string escapedKey(std::string_view name) {
    std::string out;
    for (char c : name) {
        if (c == ' ') out += "%20";
        else out += c;
    }
    return out;
}

}  // namespace

UserValue ProcessDefinitionPaths::userValue(std::string_view name) const {
    // A marker no value can hold tells "absent" from "empty".
    static const std::string kMissing("\x01missing\x01");
    auto file = text::ProfileFile::load(settingsFilePath());
    std::string value = file.readString("General", escapedKey(name), kMissing);
    if (value == kMissing) value = file.readString("General", std::string(name), kMissing);
    if (value == kMissing) return UserValue::absent();
    // A value QSettings stored as another type is no text.
    if (value.rfind("@Variant(", 0) == 0) return UserValue::notText();
    return UserValue::of(value);
}

std::string currentExecutableDir() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return ".";
    return exe.parent_path().string();
}

}  // namespace qor::storedb
