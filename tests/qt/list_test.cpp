// The activity list: its model, and which changes count as the user's click.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "qt/qt_list_box.h"

namespace {

class ListBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        box_.View().resize(281, 147);
        box_.View().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box_.View()));
        box_.SetClickHandler([this] { ++clicks_; });
    }
    // A point of the viewport (the centre of a line, or the point given) in window coordinates.
    QPoint At(int row, QPoint point = {}) {
        QWidget* viewport = box_.View().viewport();
        return viewport->mapTo(
            &box_.View(),
            row < 0 ? point : box_.View().visualRect(box_.Model().index(row)).center());
    }
    // A press and release of a button, delivered as the system delivers them.
    void Click(Qt::MouseButton button, QPoint at) {
        QTest::mouseClick(box_.View().windowHandle(), button, {}, at);
        QTest::qWait(20);
    }
    qlok::qt::QtListBox box_;
    int clicks_ = 0;
};

// The lines are handed over without a copy, and changes from code are no click.
TEST_F(ListBoxTest, IndexesFollowTheLinesAndChangesFromCodeAreNoClick) {
    EXPECT_EQ(box_.NewIndex(), -1);
    box_.AddItem("target: 127.0.0.1");
    EXPECT_EQ(box_.NewIndex(), 0);
    std::vector<std::string> lines(1000, "12/06/24 7:02:03 PM 12:00:05 AM (Slow) ok");
    const std::string* storage = lines.data();
    box_.Clear();
    box_.SetTopIndex(5);  // out of range: nothing happens
    box_.SetItems(std::move(lines));
    box_.SetTopIndex(999);
    QCoreApplication::processEvents();
    EXPECT_EQ(box_.Model().Lines().data(), storage) << "the lines were copied";
    EXPECT_EQ(box_.NewIndex(), 999);
    const QRect last = box_.View().visualRect(box_.Model().index(999));
    EXPECT_TRUE(last.top() >= 0 && last.bottom() < box_.View().viewport()->height());
    EXPECT_EQ(clicks_, 0);
}

// One click per left click on a line, selected or not, and per arrow key; none for a click
// below the lines, nor for other buttons, which select nothing.
TEST_F(ListBoxTest, UserSelectionsAreOneClickEach) {
    box_.SetItems({"a", "b", "c"});
    QCoreApplication::processEvents();
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        Click(button, At(1));
        QTest::mouseDClick(box_.View().windowHandle(), button, {}, At(1));
    }
    Click(Qt::LeftButton, At(-1, {2, box_.View().viewport()->height() - 2}));
    EXPECT_FALSE(box_.View().selectionModel()->hasSelection());
    Click(Qt::LeftButton, At(1));
    Click(Qt::LeftButton, At(1));
    Click(Qt::RightButton, At(2));
    QTest::keyClick(&box_.View(), Qt::Key_Down);
    QTest::qWait(20);
    EXPECT_EQ(clicks_, 3);
    EXPECT_EQ(box_.View().currentIndex().row(), 2);
}

// The handler opens a modal box while the button is still down, so the release goes to the
// blocked list and is lost; the next click on the same line must still count, and the keyboard's
// selections count once. The handler may also reload the list.
TEST_F(ListBoxTest, ClickWhoseReleaseAModalBoxSwallowedLosesNoLaterClick) {
    box_.SetItems({" "});
    QCoreApplication::processEvents();
    box_.SetClickHandler([&] {
        ++clicks_;
        QTimer::singleShot(0, [&] {
            QTest::mouseRelease(box_.View().windowHandle(), Qt::LeftButton, {}, At(0));
            QApplication::activeModalWidget()->close();
        });
        QMessageBox::information(nullptr, QStringLiteral("History"), QStringLiteral("none yet"));
        box_.Clear();
        box_.SetItems({" ", "one"});
    });
    for (int i = 1; i <= 3; ++i) {
        QTest::mousePress(box_.View().windowHandle(), Qt::LeftButton, {}, At(0));
        QTest::qWait(30);
        EXPECT_EQ(clicks_, i);
    }
    QTest::keyClick(&box_.View(), Qt::Key_Down);
    QTest::qWait(30);
    EXPECT_EQ(clicks_, 4);
}

}  // namespace
