#pragma once
// A folder under the system's temporary folder, made for one test and removed, with all in
// it, when the object goes.
#include <filesystem>
#include <string>

namespace qor::test {

class TempFolder {
public:
    // "<temp>/<prefix>XXXXXX", unique to this object; throws std::runtime_error when it
    // cannot be made.
    explicit TempFolder(const std::string& prefix = "qor-");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // "<folder>/<name>", as text.
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// A folder like TempFolder's that stays after the call: the caller removes it.
std::filesystem::path makeTempFolder(const std::string& prefix);

}  // namespace qor::test
