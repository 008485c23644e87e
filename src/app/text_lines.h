// Lines of a text file read the way the program reads every file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/list_lines.h"

namespace qlok {

// Splits text into lines: a line ends at CR LF or at a lone CR; a line feed alone is part of
// the line; the last line needs no line end, and a final line end starts no empty line.
std::vector<std::string> SplitLines(std::string_view bytes);

// The line with its control bytes written out (\r, \n, other ones as \xHH, a backslash as \\;
// tabs stay, the comparison lines use them), so that a line-based log cannot be split, cut or
// steered by what a server sent.
std::string EscapeControls(std::string_view line);

}  // namespace qlok
