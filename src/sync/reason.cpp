#include "sync/reason.h"

#include <algorithm>

namespace qlok {

namespace {

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

// Where to cut a line of more than kReasonWidth characters: after the last blank that leaves a
// first part within the width, else at the width, never inside a UTF-8 character.
std::size_t CutAt(std::string_view line) {
    const std::size_t blank = line.rfind(' ', kReasonWidth);
    if (blank != std::string_view::npos && blank > 0) {
        return blank;
    }
    std::size_t cut = kReasonWidth;
    while (cut > 1 && IsContinuation(line[cut])) {
        --cut;
    }
    return cut;
}

}  // namespace

std::vector<std::string> ReasonLines(std::string_view reason) {
    std::vector<std::string> lines{"      reason: "};
    bool labelled = false;
    while (!reason.empty()) {
        const std::size_t end = std::min(reason.find('\n'), reason.size());
        std::string_view line = reason.substr(0, end);
        reason.remove_prefix(std::min(end + 1, reason.size()));
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        while (!line.empty()) {
            const std::size_t cut = line.size() > kReasonWidth ? CutAt(line) : line.size();
            if (labelled) {
                lines.push_back("      ");
            }
            lines.back() += line.substr(0, cut);
            labelled = true;
            line.remove_prefix(cut);
            while (!line.empty() && line.front() == ' ') {
                line.remove_prefix(1);
            }
        }
    }
    return lines;
}

}  // namespace qlok
