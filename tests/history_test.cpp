#include <gtest/gtest.h>

#include "fake/fake_platform.h"

namespace qlok {
namespace {

using fake::FakeApp;
using Lines = std::vector<std::string>;

class HistoryViewer : public ::testing::Test {
  protected:
    void SetUp() override {
        app.Load();
        app.list1.items = {"target: somewhere", "opening connection"};
    }
    FakeApp app;
};

TEST_F(HistoryViewer, ShowsEveryLineOfTheFileInPlaceOfTheList) {
    struct Case {
        const char* file;
        Lines shown;
    };
    for (const Case& c : {Case{"a ok\r\nb failed\r\nc ok\r\n", {"a ok", "b failed", "c ok"}},
                          Case{"", {}}, Case{"a\r\n\r\nb\r\n", {"a", "", "b"}},
                          Case{"a\r\nlast without end", {"a", "last without end"}},
                          Case{"lone\rcr\r\nlf\ninside", {"lone", "cr", "lf\ninside"}}}) {
        app.files.files["QLOK.log"] = c.file;
        app.form.Form_DblClick();
        EXPECT_EQ(app.List(), c.shown) << c.file;
    }
    EXPECT_EQ(app.list1.scrolls, 0);
    EXPECT_TRUE(app.messageBoxes.shown.empty());
}

TEST_F(HistoryViewer, AClickOnTheListShowsItToo) {
    app.files.files["QLOK.log"] = "x ok\r\n";
    app.form.List1_Click();
    EXPECT_EQ(app.List(), Lines{"x ok"});
}

TEST_F(HistoryViewer, AMissingOrUnreadableFileKeepsTheListAndSaysWhy) {
    app.form.Form_DblClick();
    app.files.files["QLOK.log"] = "secret";
    app.files.unreadable.insert("QLOK.log");
    app.form.Form_DblClick();
    EXPECT_EQ(app.List(), (Lines{"target: somewhere", "opening connection"}));
    ASSERT_EQ(app.messageBoxes.shown.size(), 2u);
    EXPECT_EQ(app.messageBoxes.shown[0].text,
              "No clock correction has been recorded yet: QLOK.log does not exist.");
    EXPECT_EQ(app.messageBoxes.shown[1].text,
              "The history file QLOK.log could not be read: Permission denied");
    EXPECT_EQ(app.messageBoxes.shown[1].style, 64);
}

}  // namespace
}  // namespace qlok
