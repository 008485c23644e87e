#include "sync/history.h"

#include <utility>

#include "app/texts.h"

namespace qlok {

std::string HistoryLine(std::string_view arrival, std::string_view offset,
                        std::string_view direction, bool clockSet) {
    std::string line;
    line.reserve(arrival.size() + offset.size() + direction.size() + 12);
    line += arrival;
    line += ' ';
    line += offset;
    line += direction;
    line += clockSet ? text::kHistoryOk : text::kHistoryFailed;
    line += "\r\n";
    return line;
}

TextLines HistoryView(std::string tail, std::uint64_t skipped) {
    std::size_t from = 0;
    if (skipped > 0) {
        // The read began inside a line: the view starts with the next whole one.
        const std::size_t end = tail.find('\r');
        from = end == std::string::npos ? tail.size()
                                        : end + (tail.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    TextLines lines(std::move(tail), from, kHistoryShownLines);
    const std::uint64_t leftOut = skipped + lines.FirstByte();
    if (leftOut > 0) {
        lines.SetHeading(std::string(text::kHistoryFile) + std::string(text::kHistoryTooLarge) +
                         std::to_string(leftOut) + std::string(text::kHistoryBytesLeftOut));
    }
    return lines;
}

}  // namespace qlok
