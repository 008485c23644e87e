// The history file: one line per attempt to set the clock.
#pragma once

#include <string>
#include <string_view>

namespace qlok {

// arrival + " " + offset + direction + " ok" or " failed" + CR LF.
std::string HistoryLine(std::string_view arrival, std::string_view offset,
                        std::string_view direction, bool clockSet);

}  // namespace qlok
