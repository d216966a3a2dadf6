#include "window/progress_line.h"

#include <algorithm>
#include <cstdio>

#include "text/cp950.h"

namespace qor::window {

namespace {

// 20000 -> "20,000"
std::string grouped(std::uint64_t n) {
    std::string digits = std::to_string(n);
    for (int at = int(digits.size()) - 3; at > 0; at -= 3) digits.insert(std::size_t(at), ",");
    return digits;
}

// Kilobytes below a megabyte, megabytes above, one decimal: "12.3 KB", "4.4 MB".
std::string byteSize(std::uint64_t bytes) {
    constexpr double kKilo = 1024.0;
    const bool mega = double(bytes) >= kKilo * kKilo;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", double(bytes) / (mega ? kKilo * kKilo : kKilo),
                  mega ? "MB" : "KB");
    return text;
}

std::string counted(std::uint64_t done, std::uint64_t total, const std::string& measure) {
    std::string line = QOR_BIG5("第 ") + grouped(done) + " " + measure;
    if (total > 0) line += QOR_BIG5(" / 共 ") + grouped(total) + " " + measure;
    return line;
}

}  // namespace

std::string progressLine(ProgressUnit unit, std::uint64_t done, std::uint64_t total) {
    switch (unit) {
        case ProgressUnit::Bytes: {
            if (done == 0) return QOR_BIG5("等待回應…");
            std::string line = QOR_BIG5("已接收 ") + byteSize(done);
            if (total > 0) line += " / " + byteSize(total);
            return line;
        }
        case ProgressUnit::Rows:
            return counted(done, total, QOR_BIG5("筆"));
        case ProgressUnit::Items:
            return counted(done, total, QOR_BIG5("項"));
    }
    return {};
}

std::optional<double> progressShare(std::uint64_t done, std::uint64_t total) {
    if (total == 0) return std::nullopt;
    return std::min(1.0, double(done) / double(total));
}

}  // namespace qor::window
