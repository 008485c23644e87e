// Start-up rules: the servers file and the command line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qlok {

// Of a longer servers file only this much is read.
inline constexpr std::size_t kServersFileMaxBytes = std::size_t{1} << 20;
// A longer server text is shown cut to this many characters and "...".
inline constexpr std::size_t kServerShownChars = 255;

// What the servers file gives.
struct ServerList {
    std::vector<std::string> entries;
    bool usable = true;  // false: the built-in servers stand in for the file
    std::string notice;  // for the activity list when the file was not used whole
};

// The entries of a servers file, of which only `bytes` were read (`more`: the file goes on):
// one per line (a line ends at CR LF, LF or CR), kept as written but for a leading UTF-8
// byte-order mark, and cut to kServerShownChars when longer; an empty line is an empty entry,
// and lines whose first character is ';' are skipped. A UTF-16 file is not usable.
ServerList ParseServerList(std::string_view bytes, bool more = false);

// The server text as the window shows it: at most kServerShownChars characters, then "...".
std::string ShownServer(std::string_view server);

// The 0-based index of the entry the command line names: a number from 1 to entryCount picks
// that entry (rounded halves to even); 0, negatives, numbers beyond the list or the 16-bit
// range, and text that is no number pick the first.
int ServerIndexFromCommandLine(std::string_view commandLine, int entryCount,
                               std::string_view decimalSeparator);

}  // namespace qlok
