#include <gtest/gtest.h>

#include "fake/fake_platform.h"
#include "sync/history.h"

namespace qlok {
namespace {

using Lines = std::vector<std::string>;

// A double click or a click on the list shows the history in place of the list, unscrolled (a
// plain file of CR LF lines: the Qt window test).
// Before the first correction the list says so, once; a file that is there but cannot be read
// leaves the list as it was and says why in a box, each time.
TEST(HistoryViewer, ShowsEveryLineOfTheFileOrKeepsTheListAndSaysWhy) {
    // The file (null: missing), the lines shown, why the file cannot be read (a box then says so).
    const std::tuple<const char*, Lines, std::string> cases[] = {
        {"", {}, ""},
        {"a\r\n\r\nlone\rcr\r\nlf\nlast", {"a", "", "lone", "cr", "lf\nlast"}, ""},
        {nullptr, {" ", "no history yet: QLOK.log is written at the first clock correction"}, ""},
        {"x", {" "}, "it is a folder"}};
    for (const auto& [file, shown, why] : cases) {
        SCOPED_TRACE(testing::PrintToString(file));  // NULL: no file
        fake::FakeApp app;
        if (file != nullptr) {
            app.files.files["QLOK.log"] = file;
        }
        app.files.unreadable[why.empty() ? "" : "QLOK.log"] = why;
        app.form.Form_DblClick();
        app.form.List1_Click();
        EXPECT_EQ(app.List(), shown) << why;
        EXPECT_EQ(app.list1.topIndex, fake::FakeList::kNeverScrolled);
        EXPECT_EQ(app.files.tailLimit, std::size_t{64} << 20) << "read limit";
        ASSERT_EQ(app.messageBoxes.shown.size(), why.empty() ? 0u : 2u);
        EXPECT_TRUE(why.empty() ||
                    app.messageBoxes.shown[0].ends_with("QLOK.log could not be read: " + why));
    }
}

// Of a file read from its end the viewer shows whole lines only, at most the last million, after
// a line that says how many bytes were left out.
TEST(HistoryViewer, ShowsTheEndOfAFileTooLargeToShowWhole) {
    const auto heading = [](int bytes) {
        return "QLOK.log is too large to show whole: the first " + std::to_string(bytes) +
               " bytes are not shown";
    };
    // Lines i, j and k of a view, joined by '|'.
    const auto shown = [](const TextLines& lines, std::size_t i, std::size_t j, std::size_t k) {
        return std::string(lines[i]) + "|" + std::string(lines[j]) + "|" + std::string(lines[k]);
    };
    const TextLines partial = HistoryView("rt\r\na\r\nb", 10);
    EXPECT_EQ(shown(partial, 0, 1, 2), heading(14) + "|a|b");
    EXPECT_EQ(std::string(HistoryView(std::string(9, '\0'), 300)[0]), heading(309));
    const TextLines many = HistoryView(std::string(1'000'001, '\r') + "end", 0);
    EXPECT_EQ(partial.size() + many.size(), 3 + 1'000'001u);
    EXPECT_EQ(shown(many, 0, 1, 1'000'000), heading(2) + "||end");
}

// Lists show control bytes visibly, a tab as a tab, and cut a line at 1,000 characters without
// splitting a UTF-8 character.
TEST(ListLines, ShownLinesAreVisibleAndBounded) {
    const std::string x998(998, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"a\tb ok", "a\tb ok"},
        {std::string("\0\r\n\x1b\x7f", 5), "\\x00\\x0d\\x0a\\x1b\\x7f"},
        {x998 + "xx", x998 + "xx"},
        {x998 + "xxy", x998 + "xx..."},
        {x998 + "x\x01", x998 + "x..."},
        {x998 + "x\xc3\xa9", x998 + "x..."},
        {x998 + "\xc3\xa9y", x998 + "\xc3\xa9..."}};
    for (const auto& [line, shownLine] : cases) {
        SCOPED_TRACE(shownLine);
        EXPECT_EQ(ShownLine(line), shownLine);
        EXPECT_EQ(ShownLength(line), shownLine.size());
    }
}

}  // namespace
}  // namespace qlok
