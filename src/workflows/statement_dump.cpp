#include "workflows/statement_dump.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "text/errors.h"
#include "text/system_text.h"

namespace qor::workflows {

void writeStatementDump(const std::string& folder, const std::string& statement) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path path = fs::path(folder.empty() ? "." : folder) / kStatementDumpName;
    if (fs::path full = fs::absolute(path, error); !error) path = full;  // the message's name
    auto fail = [&](const std::string& reason) {
        throw Error("Cannot create file \"" + path.string() + "\". " + reason);
    };
    if (!folder.empty() && !fs::is_directory(folder, error)) {
        fs::create_directories(folder, error);
        if (error) fail(text::systemErrorText(error) + ".");
    }
    // The system's reason in English whatever the user's locale: the box shows code page 950.
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (!file) fail(text::systemErrorText(errno) + ".");
    const bool written =
        std::fwrite(statement.data(), 1, statement.size(), file) == statement.size();
    const int savedErrno = errno;
    if (std::fclose(file) != 0 || !written)
        fail(text::systemErrorText(written ? errno : savedErrno) + ".");
}

}  // namespace qor::workflows
