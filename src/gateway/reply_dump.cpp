#include "gateway/reply_dump.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "gateway/transport_failure.h"
#include "text/system_text.h"

namespace qor::gateway {

void writeReplyDump(const std::string& folder, const std::string& reply) {
    namespace fs = std::filesystem;
    const fs::path path = fs::path(folder.empty() ? "." : folder) / "Result.txt";
    auto fail = [&](const std::string& reason) {
        throw TransportFailure("Cannot create file \"" + path.string() + "\". " + reason);
    };
    std::error_code error;
    if (!folder.empty() && !fs::is_directory(folder, error)) {
        fs::create_directories(folder, error);
        if (error) fail(text::systemErrorText(error) + ".");
    }
    // Rewritten in place and then cut to size: truncating to zero first makes ext4 flush
    // the file when it is closed, which costs milliseconds on every call.
    const std::string name = path.string();
    std::FILE* file = std::fopen(name.c_str(), "r+b");
    if (!file) file = std::fopen(name.c_str(), "wb");
    if (!file) fail(text::systemErrorText(errno) + ".");
    // The reply and its line end are written one after the other: a long reply is not copied
    // to put them together.
    constexpr std::string_view lineEnd = "\r\n";
    const bool written =
        std::fwrite(reply.data(), 1, reply.size(), file) == reply.size() &&
        std::fwrite(lineEnd.data(), 1, lineEnd.size(), file) == lineEnd.size();
    const int savedErrno = errno;
    if (std::fclose(file) != 0 || !written)
        fail(text::systemErrorText(written ? errno : savedErrno) + ".");
    fs::resize_file(path, reply.size() + lineEnd.size(), error);
    if (error) fail(text::systemErrorText(error) + ".");
}

}  // namespace qor::gateway
