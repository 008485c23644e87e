// Start-up rules: the servers file and the command line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qlok {

// The entries of a servers file: one per line (a line ends at CR LF or a lone CR; a line feed
// alone is part of the line), kept verbatim; lines whose first character is ';' are skipped.
std::vector<std::string> ParseServerList(std::string_view bytes);

// The 0-based index of the entry the command line names: a number from 1 to entryCount picks
// that entry (rounded halves to even); 0, negatives, numbers beyond the list or the 16-bit
// range, and text that is no number pick the first.
int ServerIndexFromCommandLine(std::string_view commandLine, int entryCount,
                               std::string_view decimalSeparator);

}  // namespace qlok
