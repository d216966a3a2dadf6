#include "temp_folder.h"

#include <random>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace qor::test {

fs::path makeTempFolder(const std::string& prefix) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    const fs::path parent = fs::temp_directory_path();
    // create_directory makes the folder only when no other has the name: the name is ours.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = prefix;
        for (int i = 0; i < 6; ++i) name += kLetters[pick(random)];
        std::error_code error;
        if (fs::create_directory(parent / name, error)) return parent / name;
        if (error) throw std::runtime_error("cannot create a folder in " + parent.string());
    }
    throw std::runtime_error("cannot create a folder like " + (parent / prefix).string());
}

TempFolder::TempFolder(const std::string& prefix) : path_(makeTempFolder(prefix)) {}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

}  // namespace qor::test
