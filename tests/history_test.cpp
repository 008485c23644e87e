#include <gtest/gtest.h>

#include "fake/fake_platform.h"

namespace qlok {
namespace {

using Lines = std::vector<std::string>;

// A double click or a click on the list shows the history in place of the list, unscrolled.
// Before the first correction the list says so, once; a file that is there but cannot be read
// leaves the list as it was and says why in a box, each time.
TEST(HistoryViewer, ShowsEveryLineOfTheFileOrKeepsTheListAndSaysWhy) {
    struct Case {
        const char* file;  // null: missing
        Lines shown;
        std::string box;       // how the box's text ends
        const char* why = "";  // why the file cannot be read
    };
    for (const Case& c :
         {Case{"a ok\r\nb failed\r\n", {"a ok", "b failed"}, ""}, Case{"", {}, ""},
          Case{"a\r\n\r\nlone\rcr\r\nlf\nlast", {"a", "", "lone", "cr", "lf\nlast"}, ""},
          Case{nullptr,
               {" ", "no history yet: QLOK.log is written at the first clock correction"},
               ""},
          Case{"x", {" "}, "QLOK.log could not be read: it is a folder", "it is a folder"}}) {
        fake::FakeApp app;
        if (c.file != nullptr) {
            app.files.files["QLOK.log"] = c.file;
        }
        app.files.unreadable[*c.why != 0 ? "QLOK.log" : ""] = c.why;
        app.form.Form_DblClick();
        app.form.List1_Click();
        EXPECT_EQ(app.List(), c.shown) << c.box;
        EXPECT_EQ(app.list1.topIndex, -1);
        ASSERT_EQ(app.messageBoxes.shown.size(), c.box.empty() ? 0u : 2u);
        EXPECT_TRUE(c.box.empty() || app.messageBoxes.shown[0].ends_with(c.box)) << c.box;
    }
}

}  // namespace
}  // namespace qlok
