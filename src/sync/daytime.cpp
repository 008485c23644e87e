#include "sync/daytime.h"

#include "app/datetime.h"

namespace qlok {

namespace {

std::string_view Mid(std::string_view text, std::size_t start1, std::size_t length) {
    const std::size_t start = start1 - 1;
    return start >= text.size() ? std::string_view() : text.substr(start, length);
}

}  // namespace

std::string RewriteReply(std::string_view raw) {
    std::string text = "20";
    text += Mid(raw, 8, 8);
    text += ' ';
    text += Mid(raw, 17, 8);
    return text;
}

bool IsInStep(DateValue offset) {
    const long long seconds = TotalSeconds(offset);
    return seconds > -2 && seconds < 2;
}

}  // namespace qlok
