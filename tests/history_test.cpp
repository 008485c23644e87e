#include <gtest/gtest.h>

#include "fake/fake_platform.h"

namespace qlok {
namespace {

using Lines = std::vector<std::string>;

// A double click or a click on the list shows the history in place of the list, unscrolled; a
// missing or unreadable file leaves the list as it was and says why in a box.
TEST(HistoryViewer, ShowsEveryLineOfTheFileOrKeepsTheListAndSaysWhy) {
    struct Case {
        const char* file;  // null: missing
        Lines shown;
        std::string box;  // how the box's text ends
        bool readable = true;
    };
    for (const Case& c :
         {Case{"a ok\r\nb failed\r\n", {"a ok", "b failed"}, ""}, Case{"", {}, ""},
          Case{"a\r\n\r\nlone\rcr\r\nlf\nlast", {"a", "", "lone", "cr", "lf\nlast"}, ""},
          Case{nullptr, {" "}, "recorded yet: QLOK.log does not exist."},
          Case{"x", {" "}, "QLOK.log could not be read: Permission denied", false}}) {
        for (const bool click : {false, true}) {
            fake::FakeApp app;
            if (c.file != nullptr) {
                app.files.files["QLOK.log"] = c.file;
            }
            app.files.unreadable.insert(c.readable ? "" : "QLOK.log");
            click ? app.form.List1_Click() : app.form.Form_DblClick();
            EXPECT_EQ(app.List(), c.shown) << c.box;
            EXPECT_EQ(app.list1.topIndex, -1);
            ASSERT_EQ(app.messageBoxes.shown.size(), c.box.empty() ? 0u : 1u);
            EXPECT_TRUE(c.box.empty() || app.messageBoxes.shown[0].ends_with(c.box)) << c.box;
        }
    }
}

}  // namespace
}  // namespace qlok
