#include "sync/history.h"

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

}  // namespace qlok
