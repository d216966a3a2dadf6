#include "storedb/definition_paths.h"

#include <windows.h>

#include <string>

namespace qor::storedb {

namespace {

// Where the per-user values live: QSettings' native store for "Borland"/"DBExpress".
constexpr const wchar_t* kSettingsKey = L"Software\\Borland\\DBExpress";

std::wstring wide(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, out.data(), length);
    return out;
}

// Paths are held in the system's code page (950 on a store's machine), as the file
// functions take them.
std::string narrow(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), size, out.data(), length, nullptr, nullptr);
    return out;
}

}  // namespace

UserValue ProcessDefinitionPaths::userValue(std::string_view name) const {
    const std::wstring valueName = wide(name);
    DWORD type = 0;
    DWORD bytes = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, valueName.c_str(),
                       RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &bytes) != ERROR_SUCCESS)
        return UserValue::absent();
    // A value stored as another type is no text.
    if (type != REG_SZ && type != REG_EXPAND_SZ) return UserValue::notText();
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, valueName.c_str(),
                       RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, value.data(),
                       &bytes) != ERROR_SUCCESS)
        return UserValue::absent();
    value.resize(wcsnlen(value.c_str(), value.size()));
    return UserValue::of(narrow(value));
}

std::string currentExecutableDir() {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return ".";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? "." : narrow(std::wstring_view(path).substr(0, slash));
}

}  // namespace qor::storedb
