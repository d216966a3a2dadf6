#pragma once
// The line under the caption of the progress display: how far the work has come, in the
// program's words (code page 950).
#include <cstdint>
#include <optional>
#include <string>

#include "text/work_progress.h"

namespace qor::window {

// "已接收 1.2 MB / 4.4 MB" ("等待回應…" before the first byte), "第 1,234 筆 / 共 20,000 筆",
// "第 3 項 / 共 12 項"; without a total (0) the part from " / " on is left out.
std::string progressLine(ProgressUnit unit, std::uint64_t done, std::uint64_t total);

// How much of the work is done, 0 to 1; nullopt when the total is not known.
std::optional<double> progressShare(std::uint64_t done, std::uint64_t total);

}  // namespace qor::window
