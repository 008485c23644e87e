#include "app/startup.h"

#include <algorithm>

#include "app/texts.h"
#include "runtime/numbers.h"
#include "runtime/text_lines.h"

namespace qlok {

ServerList ParseServerList(std::string_view bytes, bool more) {
    const std::string file(text::kServersFile);
    ServerList list;
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        list.usable = false;
        list.notice = file + " is UTF-16 text, which QLOK cannot read; using the built-in servers";
        return list;
    }
    if (more) {
        list.notice = file + " is over 1 MiB: only its first " +
                      std::to_string(kServersFileMaxBytes) + " bytes are read";
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    // Every line counts, empty ones too: the entry numbers that command lines use never move.
    while (!bytes.empty()) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n"), bytes.size());
        const std::string_view line = bytes.substr(0, end);
        if (!line.starts_with(';')) {
            list.entries.push_back(ShownServer(line));
        }
        const std::size_t next = bytes.substr(end, 2) == "\r\n" ? end + 2 : end + 1;
        bytes.remove_prefix(std::min(next, bytes.size()));
    }
    return list;
}

std::string ShownServer(std::string_view server) {
    std::size_t characters = 0;
    // A UTF-8 character counts once, a stray continuation byte alone: at most 4 bytes each.
    for (std::size_t i = 0; i < server.size(); i += Utf8CharacterLength(server.substr(i))) {
        if (++characters > kServerShownChars) {
            return std::string(server.substr(0, i)) + "...";
        }
    }
    return std::string(server);
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
