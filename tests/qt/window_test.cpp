// The real front end offscreen: focus, initial state, events, window menu and resizes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <memory>

#include "fake/fake_platform.h"
#include "posix/posix_services.h"
#include "posix/posix_test_support.h"
#include "qt/front_end.h"

namespace {

using namespace qlok::qt;
using Lines = std::vector<std::string>;

const QStringList kWindowMenu{"Restore", "Minimize",       "Maximize", "-",       "Close",
                              "-",       "MinToSystray..", "Help...",  "About..."};

// The window shown, in an empty working folder (no servers, history or help file), with a fake
// clock (the machine's is never set from a test) and recorded message boxes.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QDir::setCurrent(dir_.path());
        applicationFont_ = QApplication::font();
        front_ = std::make_unique<FrontEnd>("", FrontEndOptions{&clock_, &boxes_, nullptr});
        front_->Start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&W()));
    }
    MainWindow& W() { return front_->Widget(); }
    Lines List() { return W().List1().Model().Lines(); }
    // The entries of the popup menu that opened, without accelerators and "-" for a separator,
    // and where; the popup is closed again.
    std::pair<QStringList, QPoint> Popup() {
        QCoreApplication::processEvents();
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (popup == nullptr) {
            return {};
        }
        QStringList entries;
        for (const QAction* action : popup->actions()) {
            entries << (action->isSeparator() ? QStringLiteral("-") : action->text().remove('&'));
        }
        popup->close();
        return {entries, popup->pos()};
    }

    QTemporaryDir dir_;
    QFont applicationFont_;
    qlok::fake::FakeClock clock_;
    qlok::fake::FakeMessageBoxes boxes_;
    std::unique_ptr<FrontEnd> front_;
};

// The first server is selected and has the focus; Tab goes round the controls from there. The
// text boxes have the control font, and the application's font is as it was.
TEST_F(WindowTest, TabOrderFromTheServerBox) {
    EXPECT_EQ(W().Combo1().currentText(), "time.nist.gov");
    EXPECT_EQ(W().CountDown().font(), ControlFont());
    EXPECT_EQ(W().Combo1().lineEdit()->font(), ControlFont());
    EXPECT_EQ(QApplication::font(), applicationFont_);
    W().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&W()));
    QWidget* const order[] = {&W().Combo1(),   &W().List1().View(), &W().Command1(),
                              &W().Command2(), &W().Command3(),     &W().CountDown()};
    for (std::size_t i = 0; i <= std::size(order); ++i) {
        QWidget* focused = QApplication::focusWidget();
        QWidget* control = order[i % std::size(order)];
        EXPECT_TRUE(focused == control || control->isAncestorOf(focused)) << "after tab " << i;
        QTest::keyClick(focused, Qt::Key_Tab);
    }
}

TEST_F(WindowTest, EventsReachTheirHandlers) {
    W().Combo1().setEditText(QStringLiteral("  "));
    QTest::mouseClick(&W().Command1(), Qt::LeftButton);
    EXPECT_EQ(List().back(), "sockets closed") << "the blank server is an error at once";
    std::ofstream("QLOK.log", std::ios::binary) << "one\r\ntwo\r\n";
    QTest::mouseDClick(&W(), Qt::LeftButton, {}, QPoint(250, 60));  // the free area
    EXPECT_EQ(List(), (Lines{"one", "two"}));
    std::ofstream("QLOK.log", std::ios::binary) << "three\r\n";
    QListView& list = W().List1().View();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualRect(list.model()->index(1, 0)).center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return List() == Lines{"three"}; })) << "a click on the list";
    QTest::mouseClick(&W().Command3(), Qt::LeftButton);
    EXPECT_TRUE(front_->Timer().Enabled());
    QSignalSpy clicks(&W().Command3(), &QPushButton::clicked);
    W().Command3().setFocus();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        QTest::keyClick(&W().Command3(), key);
    }
    EXPECT_EQ(clicks.count(), 3) << "Enter and Space click the focused button";
    EXPECT_FALSE(W().Command3().isDefault());
}

// The comparison lines of a sync, in the formats of each locale, fit the list at its fixed size
// with the tabs expanded as a Windows list box expands them.
TEST_F(WindowTest, ComparisonLinesFitTheList) {
    for (const char* locale : {"C", "en_US.UTF-8", "en_GB.UTF-8", "de_DE.UTF-8"}) {
        const qlok::posix_test::ScopedLocale scoped(locale);
        ASSERT_TRUE(scoped.ok()) << locale;
        qlok::fake::FakeApp app;
        app.regional.formats = qlok::posix::PosixRegional().Formats();
        app.clock.now = {2026, 12, 28, 23, 58, 50};
        app.Exchange(qlok::fake::NistReply(26, 12, 28, 22, 58, 58));  // 8 s slow
        for (const std::string& line : Lines(app.List().end() - 4, app.List().end() - 1)) {
            EXPECT_LE(W().List1().ShownWidth(line), W().List1().View().viewport()->width())
                << locale << ": " << line;
        }
    }
}

// A right click on the free area opens the window menu, one on a control does not. The Menu
// key in a text box (a context menu event from the keyboard) opens it at the focus, the mouse
// there the box's own menu; a control that passes the event on opens it at the focus too.
TEST_F(WindowTest, WindowMenuOpensFromTheMouseAndTheMenuKey) {
    QWindow* window = W().windowHandle();
    QTest::mouseClick(window, Qt::RightButton, {}, W().Command1().geometry().center());
    EXPECT_TRUE(Popup().first.isEmpty());
    QTest::mouseClick(window, Qt::RightButton, {}, QPoint(250, 60));
    EXPECT_EQ(Popup().first, kWindowMenu);
    const auto menuAt = [&](QWidget* target, QContextMenuEvent::Reason reason) {
        QContextMenuEvent event(reason, target->rect().center(), QPoint(3, 3));
        QCoreApplication::sendEvent(target, &event);
        return Popup();
    };
    const std::pair<QWidget*, QWidget*> targets[] = {
        // the event's target, the focus
        {&W().Combo1(), &W().Combo1()},
        {W().Combo1().lineEdit(), W().Combo1().lineEdit()},
        {&W().CountDown(), &W().CountDown()},
        {&W().Command1(), &W().CountDown()}};
    for (const auto& [target, focus] : targets) {
        SCOPED_TRACE(target->metaObject()->className());
        focus->setFocus();
        const QWidget* at = W().focusWidget();
        EXPECT_EQ(menuAt(target, QContextMenuEvent::Keyboard),
                  std::pair(kWindowMenu, at->mapToGlobal(at->rect().center())));
        if (target == focus) {
            EXPECT_NE(menuAt(target, QContextMenuEvent::Mouse).first, kWindowMenu);
        }
    }
}

// One FormResize per change of size or state, from the user or from code.
TEST_F(WindowTest, EachChangeOfSizeOrStateIsOneResize) {
    QSignalSpy resizes(&W(), &MainWindow::FormResize);
    using qlok::WindowState;
    const std::function<void()> changes[] = {
        [this] { W().showMaximized(); },
        [this] { W().showNormal(); },
        [this] { W().resize(400, 300); },
        [this] { W().showMinimized(); },
        [this] { W().showNormal(); },
        [this] { front_->Window().SetState(WindowState::Maximized); },
        [this] { front_->Window().SetState(WindowState::Normal); },
        [this] { front_->Window().SetState(WindowState::Minimized); }};
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        changes[i]();
        // The size arrives from the system after the change, and the next change must find
        // this one settled: what the change has queued is delivered before it is counted.
        const auto count = static_cast<int>(i + 1);
        EXPECT_TRUE(QTest::qWaitFor([&] { return resizes.count() >= count; })) << "change " << i;
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        EXPECT_EQ(resizes.count(), count) << "change " << i;
    }
}

// The menu's commands as the user chooses them reach the window procedure; without a
// notification area MinToSystray leaves the window minimised and visible.
TEST_F(WindowTest, WindowMenuCommandsReachTheWindowProcedure) {
    QSignalSpy closing(&W(), &MainWindow::Closing);
    // Chooses an entry and waits for its effect: commands are sent once the menu has closed.
    const auto choose = [&](const QString& entry, const std::function<bool()>& done) {
        QMenu menu;  // as it opens now: the standard commands follow the window's state
        front_->WindowMenu().Populate(menu);
        menu.actions().at(kWindowMenu.indexOf(entry))->trigger();
        return QTest::qWaitFor(done);
    };
    const auto in = [&](qlok::WindowState state) {
        return [this, state] { return front_->Window().State() == state; };
    };
    EXPECT_TRUE(choose("Help...", [&] { return !boxes_.shown.empty(); }));
    EXPECT_TRUE(choose("Minimize", in(qlok::WindowState::Minimized)));
    EXPECT_TRUE(choose("Restore", in(qlok::WindowState::Normal)));
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    EXPECT_TRUE(choose("MinToSystray..", in(qlok::WindowState::Minimized)));
    EXPECT_TRUE(W().isVisible());
    EXPECT_TRUE(choose("Close", [&] { return closing.count() == 1; }));
    EXPECT_FALSE(W().isVisible());
}

}  // namespace
