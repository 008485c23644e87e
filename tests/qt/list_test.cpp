// The activity list: its model, its scale, and which changes count as the user's click.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "qt/qt_list_box.h"

namespace {

using qlok::qt::QtListBox;

qlok::TextLines HistoryLines(int count) {
    qlok::TextLines lines;
    for (int i = 0; i < count; ++i) {
        lines.Append("12/06/24 7:02:" + std::to_string(i % 60) + " PM 12:00:05 AM (Slow) ok " +
                     std::to_string(i));
    }
    return lines;
}

class ListBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        box_.View().resize(281, 147);
        box_.View().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box_.View()));
        box_.SetClickHandler([this] { ++clicks_; });
    }
    QRect RowRect(int row) { return box_.View().visualRect(box_.Model().index(row)); }

    QtListBox box_;
    int clicks_ = 0;
};

TEST_F(ListBoxTest, MillionLineHistoryIsShownQuickly) {
    qlok::TextLines lines = HistoryLines(1'000'000);
    const std::string last(lines[999'999]);

    QElapsedTimer clock;
    clock.start();
    box_.Clear();
    box_.SetItems(std::move(lines));
    QCoreApplication::processEvents();  // the view lays out
    box_.View().repaint();              // and paints
    box_.SetTopIndex(999'999);
    const qint64 elapsed = clock.elapsed();

    EXPECT_LT(elapsed, 1000) << "ms from SetItems to the list shown";
    EXPECT_EQ(box_.Model().rowCount(), 1'000'000);
    EXPECT_EQ(box_.NewIndex(), 999'999);
    EXPECT_EQ(box_.Model().data(box_.Model().index(999'999)).toString().toStdString(), last);
    const QRect lastRect = RowRect(999'999);
    EXPECT_TRUE(lastRect.top() >= 0 && lastRect.bottom() < box_.View().viewport()->height())
        << "the last line is in view";
    EXPECT_EQ(clicks_, 0);
}

TEST_F(ListBoxTest, IndexesFollowAppendsClearAndScrolling) {
    EXPECT_EQ(box_.NewIndex(), -1);
    box_.AddItem("target: 127.0.0.1");
    box_.AddItem("opening connection");
    EXPECT_EQ(box_.NewIndex(), 1);
    box_.Clear();
    EXPECT_EQ(box_.NewIndex(), -1);
    box_.SetTopIndex(5);  // out of range: nothing happens

    box_.SetItems(HistoryLines(100));
    box_.SetTopIndex(40);
    QCoreApplication::processEvents();
    EXPECT_EQ(box_.View().indexAt(QPoint(2, 2)).row(), 40);
    EXPECT_EQ(clicks_, 0) << "changes from code are no click";
}

TEST_F(ListBoxTest, EveryLineGetsTheWidthOfTheLongest) {
    const std::string longest = "   error received: Host time.nist.gov not found, and more";
    const int textWidth =
        box_.View().fontMetrics().horizontalAdvance(QString::fromStdString(longest));
    box_.AddItem("target: time.nist.gov");
    box_.AddItem(longest);
    box_.AddItem("sockets closed");  // the view measures one line for all
    QCoreApplication::processEvents();
    EXPECT_GE(RowRect(2).width(), textWidth);
    box_.SetItems({" ", longest, "ok"});
    QCoreApplication::processEvents();
    EXPECT_GE(RowRect(0).width(), textWidth);
}

TEST_F(ListBoxTest, UserSelectionsAreOneClickEach) {
    box_.SetItems(HistoryLines(5));
    QCoreApplication::processEvents();
    QWidget* viewport = box_.View().viewport();

    QTest::mouseClick(viewport, Qt::LeftButton, {}, RowRect(2).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks_, 1) << "a click on a new line";

    QTest::mouseClick(viewport, Qt::LeftButton, {}, RowRect(2).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks_, 2) << "a click on the selected line";

    QTest::keyClick(&box_.View(), Qt::Key_Down);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks_, 3) << "an arrow key";

    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(2, viewport->height() - 2));
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks_, 3) << "a click below the last line selects nothing";
}

TEST_F(ListBoxTest, OnlyTheLeftButtonSelectsAndClicks) {
    box_.SetItems(HistoryLines(5));
    QCoreApplication::processEvents();
    // Through the window, as the system delivers them, so that the buttons' state follows.
    QWindow* window = box_.View().windowHandle();
    const auto at = [&](int row) {
        return box_.View().viewport()->mapTo(&box_.View(), RowRect(row).center());
    };
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mouseClick(window, button, {}, at(3));
        QTest::mouseDClick(window, button, {}, at(3));
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(clicks_, 0);
    EXPECT_FALSE(box_.View().selectionModel()->hasSelection());

    QTest::mouseClick(window, Qt::LeftButton, {}, at(1));
    QTest::mouseClick(window, Qt::RightButton, {}, at(1));
    QTest::mouseClick(window, Qt::RightButton, {}, at(2));
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks_, 1);
    EXPECT_EQ(box_.View().currentIndex().row(), 1);
}

// The handler opens a modal box while the button is still down, so the release goes to the
// blocked list and is lost; the next click on the same line must still count.
TEST_F(ListBoxTest, ClickWhoseReleaseAModalBoxSwallowedLosesNoLaterClick) {
    box_.SetItems({" "});
    QCoreApplication::processEvents();
    QWindow* window = box_.View().windowHandle();
    const QPoint line = box_.View().viewport()->mapTo(&box_.View(), RowRect(0).center());
    int releasesWhileBoxOpen = 0;
    box_.SetClickHandler([&] {
        ++clicks_;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            QTest::mouseRelease(window, Qt::LeftButton, {}, line);
            ++releasesWhileBoxOpen;
            box->close();
        });
        QMessageBox::information(nullptr, QStringLiteral("History"), QStringLiteral("none yet"));
    });
    for (int i = 1; i <= 3; ++i) {
        QTest::mousePress(window, Qt::LeftButton, {}, line);
        QTest::qWait(30);
        EXPECT_EQ(clicks_, i);
        EXPECT_EQ(releasesWhileBoxOpen, i);
    }
    // Nor does the lost release make the keyboard's selections count twice or not at all.
    box_.SetItems({" ", "one"});
    QTest::keyClick(&box_.View(), Qt::Key_Down);
    QTest::qWait(30);
    EXPECT_EQ(clicks_, 4);
}

TEST_F(ListBoxTest, ClickHandlerMayReloadTheList) {
    box_.SetItems(HistoryLines(3));
    int reloads = 0;
    box_.SetClickHandler([&] {
        ++reloads;
        box_.Clear();
        box_.SetItems(HistoryLines(4));
    });
    QCoreApplication::processEvents();
    QTest::mouseClick(box_.View().viewport(), Qt::LeftButton, {}, RowRect(1).center());
    QTest::qWait(20);
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(box_.Model().rowCount(), 4);
}

}  // namespace
