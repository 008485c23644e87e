// The history file: one line per attempt to set the clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/text_lines.h"

namespace qlok {

// arrival + " " + offset + direction + " ok" or " failed" + CR LF.
std::string HistoryLine(std::string_view arrival, std::string_view offset,
                        std::string_view direction, bool clockSet);

// The longest wait for another program's lock on the history before a line is appended anyway.
inline constexpr int kHistoryLockWaitMs = 2000;

// The viewer reads at most the last 64 MiB of the history and shows at most its last million
// lines: a damaged or endless file must neither exhaust memory nor hold up the window.
inline constexpr std::size_t kHistoryShownBytes = std::size_t{64} << 20;
inline constexpr std::size_t kHistoryShownLines = 1'000'000;

// The lines the viewer shows of `tail`, the end of the history file after `skipped` bytes that
// were not read: whole lines only, at most kHistoryShownLines of them, and when anything was
// left out, first a line that says how many bytes.
TextLines HistoryView(std::string tail, std::uint64_t skipped);

}  // namespace qlok
