// The activity list: which changes count as the user's click.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "qt/qt_list_box.h"

namespace {

class ListBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        box_.SetItems({" ", "b", "c"});
        box_.View().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box_.View()));
        box_.SetClickHandler([this] { ++clicks_; });
    }
    // A button's press and release on a line (below the last one for -1), as the system
    // delivers them; mouse, the press alone.
    void Click(Qt::MouseButton button, int row,
               void (*mouse)(QWindow*, Qt::MouseButton, Qt::KeyboardModifiers, QPoint,
                             int) = QTest::mouseClick) {
        QListView& view = box_.View();
        const QPoint at = row < 0 ? QPoint(2, view.viewport()->height() - 2)
                                  : view.visualRect(box_.Model().index(row)).center();
        mouse(view.windowHandle(), button, {}, view.viewport()->mapTo(&view, at), -1);
        QCoreApplication::processEvents();  // the click is raised from the event loop
    }
    qlok::qt::QtListBox box_;
    int clicks_ = 0;
};

// One click per left click on a line, selected or not, and per arrow key; none for changes
// from code, a click below the lines, or other buttons, which select nothing.
TEST_F(ListBoxTest, UserSelectionsAreOneClickEach) {
    box_.SetTopIndex(1);
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        Click(button, 1);
        Click(button, 1, QTest::mouseDClick);
    }
    Click(Qt::LeftButton, -1);
    EXPECT_FALSE(box_.View().selectionModel()->hasSelection());
    Click(Qt::LeftButton, 1);
    Click(Qt::LeftButton, 1);
    Click(Qt::RightButton, 2);
    QTest::keyClick(&box_.View(), Qt::Key_Down);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks_, 3);
    EXPECT_EQ(box_.View().currentIndex().row(), 2);
}

// The handler opens a modal box while the button is still down, so the release goes to the
// blocked list and is lost; the next click on the same line must still count, and the
// keyboard's selections count once. The handler may also reload the list.
TEST_F(ListBoxTest, ClickWhoseReleaseAModalBoxSwallowedLosesNoLaterClick) {
    box_.SetClickHandler([&] {
        ++clicks_;
        QTimer::singleShot(0, [&] {
            Click(Qt::LeftButton, 0, QTest::mouseRelease);
            QApplication::activeModalWidget()->close();
        });
        QMessageBox::information(nullptr, QStringLiteral("History"), QStringLiteral("none yet"));
        box_.Clear();
        box_.SetItems({" ", "one"});
    });
    for (int i = 1; i <= 3; ++i) {
        Click(Qt::LeftButton, 0, QTest::mousePress);
        EXPECT_TRUE(QTest::qWaitFor([&] { return clicks_ == i; })) << "click " << i;
    }
    QTest::keyClick(&box_.View(), Qt::Key_Down);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks_ == 4; }));
}

}  // namespace
