#include "app/startup.h"

#include "app/numbers.h"
#include "app/text_lines.h"

namespace qlok {

std::vector<std::string> ParseServerList(std::string_view bytes) {
    std::vector<std::string> entries = SplitLines(bytes);
    std::erase_if(entries, [](const std::string& line) { return !line.empty() && line[0] == ';'; });
    return entries;
}

int ServerIndexFromCommandLine(std::string_view commandLine, int entryCount,
                               std::string_view decimalSeparator) {
    const auto number = ParseNumber(commandLine, decimalSeparator);
    if (!number) {
        return 0;
    }
    const auto rounded = RoundToInt16(*number);
    if (!rounded || *rounded < 0 || *rounded > entryCount) {
        return 0;
    }
    return *rounded == 0 ? 0 : *rounded - 1;
}

}  // namespace qlok
