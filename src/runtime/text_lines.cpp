#include "runtime/text_lines.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace qlok {

namespace {

constexpr std::size_t kMaxText = std::numeric_limits<std::uint32_t>::max();

// Where the line that starts at `start` ends, and where the next one starts.
std::pair<std::size_t, std::size_t> LineAt(std::string_view bytes, std::size_t start) {
    const std::size_t end = bytes.find('\r', start);
    if (end == std::string_view::npos) {
        return {bytes.size(), bytes.size()};
    }
    const std::size_t next = end + 1;
    return {end, next < bytes.size() && bytes[next] == '\n' ? next + 1 : next};
}

bool IsControl(unsigned char byte) {
    return (byte < 0x20 && byte != '\t') || byte == 0x7f;
}

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

// Walks the line as ShownLine shows it, appending to out when there is one; the shown length.
std::size_t Show(std::string_view line, std::string* out) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::size_t shown = 0;
    std::size_t i = 0;
    for (; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        const std::size_t width = IsControl(byte) ? 4 : 1;
        if (shown + width > kShownLineChars) {
            break;
        }
        shown += width;
        if (out == nullptr) {
            continue;
        }
        if (width == 1) {
            *out += line[i];
        } else {
            *out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        }
    }
    if (i == line.size()) {
        return shown;
    }
    // Cut before the lead byte of a character the limit would split; those bytes were plain.
    std::size_t keep = i;
    if (IsContinuation(line[i])) {
        std::size_t j = i;
        while (j > 0 && i - j < 2 && IsContinuation(line[j - 1])) {
            --j;
        }
        if (j > 0 && static_cast<unsigned char>(line[j - 1]) >= 0xc0) {
            keep = j - 1;
        }
    }
    shown -= i - keep;
    if (out != nullptr) {
        out->resize(out->size() - (i - keep));
        *out += "...";
    }
    return shown + 3;
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        const auto [end, next] = LineAt(bytes, start);
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
        } else if (c == '\r' || c == '\n') {
            out += c == '\r' ? "\\r" : "\\n";
        } else if ((byte < 0x20 && c != '\t') || byte == 0x7f) {
            out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xf]};
        } else {
            out += c;
        }
    }
    return out;
}

TextLines::TextLines(std::initializer_list<std::string_view> lines) {
    for (const std::string_view line : lines) {
        Append(line);
    }
}

TextLines::TextLines(std::string text, std::size_t from, std::size_t maxLines)
    : text_(std::move(text)) {
    text_.resize(std::min(text_.size(), kMaxText));
    const std::string_view bytes(text_);
    std::size_t count = 0;
    for (std::size_t start = from; start < bytes.size(); ++count) {
        start = LineAt(bytes, start).second;
    }
    spans_.reserve(std::min(count, maxLines));  // no growth: a long history fills memory once
    // The last maxLines lines in a ring, so that a file of empty lines costs no more than that.
    std::size_t oldest = 0;
    for (std::size_t start = from; start < bytes.size() && maxLines > 0;) {
        const auto [end, next] = LineAt(bytes, start);
        const Span span{static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end)};
        if (spans_.size() < maxLines) {
            spans_.push_back(span);
        } else {
            spans_[oldest] = span;
            oldest = (oldest + 1) % maxLines;
        }
        start = next;
    }
    std::rotate(spans_.begin(), spans_.begin() + static_cast<std::ptrdiff_t>(oldest), spans_.end());
}

std::size_t TextLines::FirstByte() const {
    return spans_.empty() ? text_.size() : spans_.front().begin;
}

void TextLines::Append(std::string_view line) {
    line = line.substr(0, kMaxText - std::min(text_.size(), kMaxText));
    const auto begin = static_cast<std::uint32_t>(text_.size());
    text_ += line;
    spans_.push_back({begin, static_cast<std::uint32_t>(text_.size())});
}

void TextLines::SetHeading(std::string line) {
    heading_ = std::move(line);
    hasHeading_ = true;
}

std::string ShownLine(std::string_view line) {
    std::string shown;
    shown.reserve(std::min(line.size(), kShownLineChars) + 3);
    Show(line, &shown);
    return shown;
}

std::size_t ShownLength(std::string_view line) {
    return Show(line, nullptr);
}

std::size_t Utf8CharacterLength(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    const std::size_t expected = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::size_t length = 1;
    while (length < expected && length < text.size() && (byte(length) & 0xC0) == 0x80) {
        ++length;
    }
    return length;
}

}  // namespace qlok
