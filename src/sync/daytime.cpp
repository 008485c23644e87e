#include "sync/daytime.h"

#include "runtime/datetime.h"

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

std::optional<DateValue> ReadRewrittenReply(std::string_view text) {
    constexpr std::string_view kLayout = "dddd-dd-dd dd:dd:dd";
    if (text.size() != kLayout.size()) {
        return std::nullopt;
    }
    int fields[6] = {};
    int field = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kLayout[i] != 'd') {
            if (text[i] != kLayout[i]) {
                return std::nullopt;
            }
            ++field;
        } else if (!digit) {
            return std::nullopt;
        } else {
            fields[field] = fields[field] * 10 + (text[i] - '0');
        }
    }
    return MakeDate({fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]});
}

char ServerHealth(std::string_view raw) {
    constexpr std::size_t kHealthAt = 31 - 1;
    const char c = raw.size() > kHealthAt ? raw[kHealthAt] : '0';
    return c >= '0' && c <= '9' ? c : '0';
}

std::optional<DaytimeReading> ReadReply(std::string_view rewritten, std::string_view raw) {
    const std::optional<DateValue> utc = ReadRewrittenReply(rewritten);
    if (!utc) {
        return std::nullopt;
    }
    return DaytimeReading{*utc, ServerHealth(raw)};
}

bool IsInStep(DateValue offset) {
    const long long seconds = TotalSeconds(offset);
    return seconds > -2 && seconds < 2;
}

}  // namespace qlok
