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

std::string EscapeControls(std::string_view line) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(line.size());
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r' || c == '\n' || c == '\t') {
            out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : "\\t";
        } else if (byte < 0x20 || byte == 0x7f) {
            out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xf]};
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace qlok
