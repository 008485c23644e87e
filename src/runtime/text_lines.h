// Lines of text: as the program reads them from files, and as list boxes hold and draw them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qlok {

// Lines held as one run of bytes and where each line lies in it: a long history costs its own
// bytes and eight more a line, not an object per line. Up to 4 GiB of text.
class TextLines {
  public:
    TextLines() = default;
    // The given lines, copied.
    TextLines(std::initializer_list<std::string_view> lines);
    // The lines of text from byte `from` on, each ended by CR LF or a lone CR (a line feed alone
    // is part of a line), of which only the last maxLines are kept. The text is taken over.
    TextLines(std::string text, std::size_t from, std::size_t maxLines);

    // The number of lines.
    std::size_t size() const { return spans_.size() + (hasHeading_ ? 1 : 0); }
    bool empty() const { return size() == 0; }
    // Line i without its line end.
    std::string_view operator[](std::size_t i) const {
        if (hasHeading_ && i-- == 0) {
            return heading_;
        }
        return std::string_view(text_).substr(spans_[i].begin, spans_[i].end - spans_[i].begin);
    }
    // Where the first line of the text begins, or the text's length when there is none.
    std::size_t FirstByte() const;
    // Appends one line; its bytes are kept as they are, line ends included.
    void Append(std::string_view line);
    // Puts a line before all others, kept apart so that the text is not copied for it.
    void SetHeading(std::string line);

  private:
    struct Span {
        std::uint32_t begin;
        std::uint32_t end;
    };
    std::string text_;
    std::vector<Span> spans_;
    std::string heading_;
    bool hasHeading_ = false;
};

// The most characters of a line that lists show; a longer line is cut there.
inline constexpr std::size_t kShownLineChars = 1000;

// A line as lists draw it: control bytes as \xNN (a tab stays a tab, lists expand it), and a
// line longer than kShownLineChars characters cut there, with "..." after it. A character is
// a byte here, and a cut never splits a UTF-8 sequence.
std::string ShownLine(std::string_view line);
// ShownLine(line).size(), without building it.
std::size_t ShownLength(std::string_view line);

// The bytes of the character at the start of a UTF-8 text: the lead byte and the continuation
// bytes that follow it; a stray byte alone.
std::size_t Utf8CharacterLength(std::string_view text);

// Splits text into lines: a line ends at CR LF or at a lone CR; a line feed alone is part of
// the line; the last line needs no line end, and a final line end starts no empty line.
std::vector<std::string> SplitLines(std::string_view bytes);

// The line with its control bytes written out (\r, \n, other ones as \xHH, a backslash as \\;
// tabs stay, the comparison lines use them), so that a line-based log cannot be split, cut or
// steered by what a server sent.
std::string EscapeControls(std::string_view line);

}  // namespace qlok
