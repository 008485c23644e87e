// The real front end offscreen: layout, focus, initial state, events, window menu and boxes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <memory>

#include "desktop/systray.h"
#include "qt/front_end.h"

namespace {

using namespace qlok::qt;

// The machine's clock is never set from a test.
class RefusingClock final : public qlok::SystemClock {
  public:
    qlok::DateParts LocalNow() const override { return {2024, 12, 6, 19, 2, 3}; }
    long UtcOffsetSecondsNow() const override { return 0; }
    int SetSystemTime(const qlok::SystemTimeRecord&) override { return 0; }
    std::string LastError() const override { return "not in tests"; }
};

// Closes each modal message box as it opens, noting "title|text".
class BoxCloser {
  public:
    BoxCloser() {
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen.push_back(box->windowTitle() + "|" + box->text());
                box->accept();
            }
        });
        timer_.start(10);
    }
    QStringList seen;

  private:
    QTimer timer_;
};

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        previous_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());  // no servers file, no history, no help file
        front_ = std::make_unique<FrontEnd>("", FrontEndOptions{&clock_, nullptr, nullptr});
    }
    void TearDown() override {
        front_.reset();
        QDir::setCurrent(previous_);
    }
    MainWindow& W() { return front_->Widget(); }
    void Start() {
        front_->Start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&W()));
    }
    std::vector<std::string> Lines() { return W().List1().Model().Lines(); }
    static void WriteFile(const char* name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary) << bytes;
    }
    // The texts of a menu's entries without their accelerators; "-" for a separator.
    static QStringList Entries(const QMenu& menu) {
        QStringList entries;
        for (const QAction* action : menu.actions()) {
            entries << (action->isSeparator() ? QStringLiteral("-") : action->text().remove('&'));
        }
        return entries;
    }

    QTemporaryDir dir_;
    QString previous_;
    RefusingClock clock_;
    std::unique_ptr<FrontEnd> front_;
};

TEST_F(WindowTest, WindowAndControlsHaveTheirPixelGeometryAndKeepIt) {
    EXPECT_EQ(W().geometry(), QRect(327, 197, 297, 242));
    const struct {
        QWidget* control;
        QRect pixels;
    } controls[] = {
        {&W().Combo1(), {8, 56, 193, 21}},   {&W().List1().View(), {8, 88, 281, 147}},
        {&W().Command1(), {8, 8, 60, 33}},   {&W().Command2(), {73, 8, 66, 33}},
        {&W().Command3(), {146, 8, 73, 33}}, {&W().CountDown(), {224, 16, 41, 19}},
        {&W().Label1(), {266, 19, 25, 19}},
    };
    Start();
    const Qt::WindowFlags flags = W().windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMaximizeButtonHint));

    const std::function<void()> changes[] = {
        [] {},
        [this] { W().resize(600, 500); },
        [this] { W().showMaximized(); },
        [this] {
            W().showNormal();
            W().resize(100, 80);
        },
    };
    for (const auto& change : changes) {
        change();
        QCoreApplication::processEvents();
        for (const auto& c : controls) {
            EXPECT_EQ(c.control->geometry(), c.pixels) << c.control->metaObject()->className();
            EXPECT_DOUBLE_EQ(c.control->font().pointSizeF(), 8.25);
            EXPECT_FALSE(QFontInfo(c.control->font()).fixedPitch());
        }
    }
}

TEST_F(WindowTest, TabCyclesThroughTheControlsFromTheServerBox) {
    Start();
    W().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&W()));
    QWidget* const order[] = {&W().Combo1(),   &W().List1().View(), &W().Command1(),
                              &W().Command2(), &W().Command3(),     &W().CountDown(),
                              &W().Combo1()};
    const auto owner = [&](QWidget* focused) -> QWidget* {
        for (QWidget* control : order) {
            if (focused == control || control->isAncestorOf(focused)) {
                return control;
            }
        }
        return focused;
    };
    EXPECT_EQ(owner(QApplication::focusWidget()), order[0]) << "focus when first shown";
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(owner(QApplication::focusWidget()), order[i]) << "after tab " << i;
    }
    EXPECT_EQ(W().Label1().focusPolicy(), Qt::NoFocus);
}

TEST_F(WindowTest, InitialStateBeforeAndAfterLoad) {
    EXPECT_EQ(front_->Window().Caption(), "QLOK");
    EXPECT_EQ(Lines(), std::vector<std::string>{" "});
    EXPECT_EQ(W().CountDown().text(), "240");
    EXPECT_EQ(W().Label1().text(), "Mins");
    for (const auto& [button, caption] :
         {std::pair{&W().Command1(), "Resync"}, std::pair{&W().Command2(), "Show Clock"},
          std::pair{&W().Command3(), "Repeat"}}) {
        EXPECT_EQ(button->text(), caption);
        EXPECT_FALSE(button->isDefault() || button->autoDefault()) << caption;
    }
    EXPECT_TRUE(W().Combo1().isEditable());
    EXPECT_EQ(W().Combo1().insertPolicy(), QComboBox::NoInsert);
    EXPECT_FALSE(front_->Timer().Enabled());
    EXPECT_EQ(front_->Timer().Interval(), 1000);

    Start();
    EXPECT_EQ(W().Combo1().count(), 2);
    EXPECT_EQ(W().Combo1().currentText(), "time.nist.gov") << "first server selected";
    EXPECT_EQ(Lines(), std::vector<std::string>{" "});
    EXPECT_EQ(front_->Window().Caption(), "QLOK");
    EXPECT_EQ(front_->Window().State(), qlok::WindowState::Normal);

    QImageReader icon(QStringLiteral(":/qlok.ico"));
    EXPECT_EQ(icon.imageCount(), 15) << "the window icon is built in";
    EXPECT_FALSE(W().windowIcon().isNull());
}

TEST_F(WindowTest, EventsReachTheirHandlers) {
    Start();
    BoxCloser boxes;

    W().Combo1().setEditText(QStringLiteral("  "));
    QTest::mouseClick(&W().Command1(), Qt::LeftButton);
    ASSERT_FALSE(Lines().empty());
    EXPECT_EQ(Lines().front(), "target:   ");
    EXPECT_EQ(Lines().back(), "sockets closed") << "the blank server is an error at once";

    // Double click on the free area: no history yet, so a box says so and is closed.
    QTest::mouseDClick(&W(), Qt::LeftButton, {}, QPoint(250, 60));
    EXPECT_EQ(boxes.seen.size(), 1);

    WriteFile("QLOK.log", "one\r\ntwo\r\nthree\r\n");
    QTest::mouseDClick(&W(), Qt::LeftButton, {}, QPoint(250, 60));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"one", "two", "three"}));

    // A click on the list, and an arrow key in it, show the history again.
    WriteFile("QLOK.log", "one\r\ntwo\r\nthree\r\nfour\r\n");
    QListView& list = W().List1().View();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualRect(list.model()->index(1, 0)).center());
    QTest::qWait(20);
    EXPECT_EQ(Lines().size(), 4u);
    WriteFile("QLOK.log", "1\r\n2\r\n3\r\n4\r\n5\r\n");
    QTest::keyClick(&list, Qt::Key_Down);
    QTest::qWait(20);
    EXPECT_EQ(Lines().size(), 5u);

    QTest::mouseClick(&W().Command3(), Qt::LeftButton);
    EXPECT_EQ(W().Command3().text(), "Stop Repeat");
    EXPECT_TRUE(front_->Timer().Enabled());
    QTest::mouseClick(&W().Command3(), Qt::LeftButton);
    EXPECT_EQ(W().Command3().text(), "Repeat");
    EXPECT_FALSE(front_->Timer().Enabled());
    EXPECT_EQ(boxes.seen.size(), 1);
}

TEST_F(WindowTest, WindowMenuHasStandardCommandsThenTheAppendedOnes) {
    Start();
    QMenu menu;
    front_->WindowMenu().Populate(menu);
    EXPECT_EQ(Entries(menu), (QStringList{"Restore", "Minimize", "Maximize", "-", "Close", "-",
                                          "MinToSystray..", "Help...", "About..."}));
    EXPECT_FALSE(menu.actions().front()->isEnabled()) << "Restore of a normal window";

    // A right click on the free area opens it, one on a control does not; so does the Menu key.
    QWindow* window = W().windowHandle();
    QTest::mouseClick(window, Qt::RightButton, {}, W().Command1().geometry().center());
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    for (const auto& open : std::initializer_list<std::function<void()>>{
             [window] { QTest::mouseClick(window, Qt::RightButton, {}, QPoint(250, 60)); },
             [this] { QTest::keyClick(&W().Combo1(), Qt::Key_Menu); }}) {
        open();
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(Entries(*popup), Entries(menu));
        popup->close();
        QCoreApplication::processEvents();
    }
}

// The system sends the Menu key to a text box as a context menu event from the keyboard.
TEST_F(WindowTest, MenuKeyInATextBoxOpensTheWindowMenuAndTheMouseTheEditMenu) {
    Start();
    QMenu menu;
    front_->WindowMenu().Populate(menu);
    QWidget* const edits[] = {&W().Combo1(), W().Combo1().lineEdit(), &W().CountDown()};
    const auto openedBy = [](QWidget* target, QContextMenuEvent::Reason reason) {
        QContextMenuEvent event(reason, target->rect().center(), QPoint(3, 3));
        QCoreApplication::sendEvent(target, &event);
        QCoreApplication::processEvents();
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QStringList entries = popup != nullptr ? Entries(*popup) : QStringList{};
        const QPoint at = popup != nullptr ? popup->pos() : QPoint();
        if (popup != nullptr) {
            popup->close();
            QCoreApplication::processEvents();
        }
        return std::pair{entries, at};
    };
    for (QWidget* edit : edits) {
        edit->setFocus();
        const auto [entries, at] = openedBy(edit, QContextMenuEvent::Keyboard);
        EXPECT_EQ(entries, Entries(menu)) << edit->metaObject()->className();
        const QWidget* focused = W().focusWidget();
        EXPECT_EQ(at, focused->mapToGlobal(focused->rect().center())) << "at the focus";
        EXPECT_NE(openedBy(edit, QContextMenuEvent::Mouse).first, Entries(menu));
    }
    // From a control that passes it on, the window opens it at the focus too.
    W().CountDown().setFocus();
    const auto [entries, at] = openedBy(&W().Command1(), QContextMenuEvent::Keyboard);
    EXPECT_EQ(entries, Entries(menu));
    EXPECT_EQ(at, W().CountDown().mapToGlobal(W().CountDown().rect().center()));
}

TEST_F(WindowTest, EachChangeOfSizeOrStateIsOneResize) {
    Start();
    QSignalSpy resizes(&W(), &MainWindow::FormResize);
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"maximise", [this] { W().showMaximized(); }},
        {"restore", [this] { W().showNormal(); }},
        {"resize", [this] { W().resize(400, 300); }},
        {"minimise", [this] { W().showMinimized(); }},
        {"back from minimised", [this] { W().showNormal(); }},
        {"maximise from code", [this] { front_->Window().SetState(qlok::WindowState::Maximized); }},
        {"restore from code", [this] { front_->Window().SetState(qlok::WindowState::Normal); }},
        {"minimise from code", [this] { front_->Window().SetState(qlok::WindowState::Minimized); }},
    };
    for (const auto& [name, change] : changes) {
        const qsizetype before = resizes.count();
        change();
        QTest::qWait(20);  // the size arrives from the system after the change
        EXPECT_EQ(resizes.count() - before, 1) << name;
    }
}

TEST_F(WindowTest, WindowMenuCommandsReachTheWindowProcedure) {
    Start();
    BoxCloser boxes;
    QSignalSpy resizes(&W(), &MainWindow::FormResize);
    const auto choose = [&](const QString& entry) {
        QMenu menu;  // as it opens now: the standard commands follow the window's state
        front_->WindowMenu().Populate(menu);
        for (QAction* action : menu.actions()) {
            if (action->text().remove('&') == entry) {
                action->trigger();
                QTest::qWait(20);  // commands are sent once the menu has closed
                return;
            }
        }
        ADD_FAILURE() << entry.toStdString();
    };

    choose("About...");
    choose("Help...");
    ASSERT_EQ(boxes.seen.size(), 2);
    EXPECT_TRUE(boxes.seen[0].startsWith("About|QLOK, Internet time sysnchronisation"));
    EXPECT_EQ(boxes.seen[1], "Help|QLOK, Help file not found");

    choose("Minimize");
    EXPECT_EQ(front_->Window().State(), qlok::WindowState::Minimized);
    EXPECT_EQ(resizes.count(), 1) << "one resize for one state change";
    choose("Restore");
    EXPECT_EQ(front_->Window().State(), qlok::WindowState::Normal);

    // Without a notification area the window stays minimised and visible instead of vanishing.
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    choose("MinToSystray..");
    EXPECT_EQ(front_->Window().State(), qlok::WindowState::Minimized);
    EXPECT_TRUE(W().isVisible());
    EXPECT_EQ(qlok::Systray::InTrayMode, 0);
    EXPECT_FALSE(front_->Tray().Icon().isVisible());

    QSignalSpy closing(&W(), &MainWindow::Closing);
    choose("Close");
    EXPECT_EQ(closing.count(), 1);
    EXPECT_FALSE(W().isVisible());
}

TEST(Desktop, DateTimeSettingsAreTheFirstToolFoundInPath) {
    QTemporaryDir bin;
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit());
    EXPECT_FALSE(FindDateTimeSettings().has_value());
    for (const char* name : {"mate-time-admin", "kcmshell5"}) {
        QFile tool(bin.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\n");
        tool.setPermissions(QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    }
    const auto command = FindDateTimeSettings();
    qputenv("PATH", savedPath);
    ASSERT_TRUE(command.has_value());
    EXPECT_TRUE(command->program.endsWith("/kcmshell5"));
    EXPECT_EQ(command->arguments, QStringList{"clock"});
}

TEST(Desktop, ActivityLinesGoToTheirCategoryOnlyWhenTurnedOn) {
    static QStringList logged;
    logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext& context, const QString& text) {
            logged << QString::fromLatin1(context.category) + ": " + text;
        });
    QtActivityLog log;
    log.Line("hidden");
    QLoggingCategory::setFilterRules(QStringLiteral("qlok.activity.debug=true"));
    log.Line("   winsock connection made");
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previous);
    EXPECT_EQ(logged, QStringList{"qlok.activity:    winsock connection made"});
}

}  // namespace
