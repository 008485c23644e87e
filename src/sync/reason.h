// The reason for a refused clock setting, as the activity list shows it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qlok {

// The widest part of a reason on one list line, in characters: it stays readable in the window.
inline constexpr std::size_t kReasonWidth = 60;

// The list lines of a reason given as "short reason\ndetail": "      reason: " and the short
// reason, then the detail indented by six blanks. Each of its lines (ended by LF or CR LF) is
// cut at blanks into parts of at most kReasonWidth characters, the first one labelled.
std::vector<std::string> ReasonLines(std::string_view reason);

}  // namespace qlok
