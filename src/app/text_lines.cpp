#include "app/text_lines.h"

namespace qlok {

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\r', start);
        std::size_t next = 0;
        if (end == std::string_view::npos) {
            end = bytes.size();
            next = end;
        } else {
            next = end + 1;
            if (next < bytes.size() && bytes[next] == '\n') {
                ++next;
            }
        }
        lines.emplace_back(bytes.substr(start, end - start));
        start = next;
    }
    return lines;
}

}  // namespace qlok
