#include "request_log.h"

#include <unistd.h>

#include <cstdio>

#include "text/cp950.h"

namespace qor::headoffice {
namespace {

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    return text;
}

}  // namespace

std::string formatLogLine(const RequestRecord& record) {
    char when[32] = "";
    std::tm local{};
    localtime_r(&record.when, &local);
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);

    std::string line = when;
    line += ' ';
    line += record.peer;
    line += ' ';
    line += std::to_string(record.status);
    line += " rows=";
    line += record.rows ? std::to_string(*record.rows) : "-";
    line += ' ';
    line += std::to_string(record.elapsed.count());
    line += "ms";
    if (record.cached) line += " cached";
    if (!record.error.empty()) {
        line += record.cutOff ? " cut off: " : " <RESULT>";
        line += oneLine(text::cp950ToUtf8(record.error));
    }
    return line;
}

void writeLogLine(const RequestRecord& record) {
    std::string line = formatLogLine(record);
    line += '\n';
    // One write call per line: the kernel keeps it whole against other writers.
    const char* data = line.data();
    std::size_t left = line.size();
    while (left > 0) {
        ssize_t written = ::write(STDERR_FILENO, data, left);
        if (written <= 0) return;
        data += written;
        left -= static_cast<std::size_t>(written);
    }
}

}  // namespace qor::headoffice
