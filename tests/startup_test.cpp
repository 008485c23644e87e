#include <gtest/gtest.h>

#include "app/startup.h"
#include "fake/fake_platform.h"

namespace qlok {
namespace {

using fake::FakeApp;
using fake::FakeRegional;
using Lines = std::vector<std::string>;

TEST(ServerList, LinesEndAtCrLfOrLoneCr) {
    EXPECT_EQ(ParseServerList("a\r\n;b\r\n\r\n ;c\r\nd\r\n"), (Lines{"a", "", " ;c", "d"}));
    EXPECT_EQ(ParseServerList("a\r\nlast"), (Lines{"a", "last"}));
    EXPECT_EQ(ParseServerList("a\rb\r"), (Lines{"a", "b"}));
    EXPECT_EQ(ParseServerList("a\nb\nc"), (Lines{"a\nb\nc"}));
    EXPECT_EQ(ParseServerList(";a\nb\nc"), Lines{});
    EXPECT_EQ(ParseServerList("\r\n"), (Lines{""}));
    EXPECT_EQ(ParseServerList(""), Lines{});
    EXPECT_EQ(ParseServerList("  host  \r\n[section]\r\nx=1"),
              (Lines{"  host  ", "[section]", "x=1"}));
    EXPECT_EQ(ParseServerList("\xEF\xBB\xBFhost"), (Lines{"\xEF\xBB\xBFhost"}));
}

TEST(CommandLine, PicksAServerByNumber) {
    struct Case {
        const char* argument;
        int expected;
    };
    for (const Case c : {Case{"2", 1},
                         {"1", 0},
                         {"0", 0},
                         {"3", 2},
                         {"4", 0},
                         {"-1", 0},
                         {"word", 0},
                         {"2.5", 1},
                         {"0.5", 0},
                         {"1.5", 1},
                         {" 2 ", 1},
                         {"40000", 0},
                         {"-40000", 0},
                         {"1e1", 0},
                         {"2,5", 0}}) {
        EXPECT_EQ(ServerIndexFromCommandLine(c.argument, 3, "."), c.expected) << c.argument;
    }
    EXPECT_EQ(ServerIndexFromCommandLine("2,5", 3, ","), 1);
}

TEST(FormLoad, WithoutFileOrArgumentOffersTheBuiltInServersAndWaits) {
    FakeApp app;
    app.Load();
    EXPECT_EQ(app.combo1.items, (Lines{"time.nist.gov", "129.6.15.28"}));
    EXPECT_EQ(app.combo1.text, "time.nist.gov");
    EXPECT_EQ(app.winsock1.connects, 0);
    EXPECT_EQ(app.List(), Lines{" "});
    EXPECT_EQ(app.window.caption, "QLOK");
}

TEST(FormLoad, TakesTheServersFileVerbatimAndSyncsWithTheChosenEntry) {
    FakeApp app("2");
    app.files.files["QLOK servers.ini"] = "first.example\r\n;comment\r\n\r\n ;kept\r\nsecond";
    app.Load();
    EXPECT_EQ(app.combo1.items, (Lines{"first.example", "", " ;kept", "second"}));
    EXPECT_EQ(app.combo1.text, "");  // entry 2 is the empty line
    EXPECT_EQ(app.winsock1.connects, 1);
    EXPECT_EQ(app.winsock1.port, 13);
}

TEST(FormLoad, AnyArgumentSyncsAndAFolderIsNoServersFile) {
    FakeApp app("please");
    app.files.folders.insert("QLOK servers.ini");
    app.Load();
    EXPECT_EQ(app.combo1.items.size(), 2u);
    EXPECT_EQ(app.winsock1.host, "time.nist.gov");
    EXPECT_EQ(app.List()[0], "target: time.nist.gov");
}

TEST(FormLoad, UnreadableServersFileIsReportedAndTheBuiltInsServe) {
    FakeApp app;
    app.files.files["QLOK servers.ini"] = "x";
    app.files.unreadable.insert("QLOK servers.ini");
    app.Load();
    EXPECT_EQ(app.combo1.items, (Lines{"time.nist.gov", "129.6.15.28"}));
    EXPECT_EQ(app.List().back(),
              "QLOK servers.ini could not be read (Permission denied); using the built-in servers");

    FakeApp synced("1");  // the sync clears the list, and the reason is listed after it
    synced.files.files["QLOK servers.ini"] = "x";
    synced.files.unreadable.insert("QLOK servers.ini");
    synced.Load();
    EXPECT_EQ(synced.List().front(), "target: time.nist.gov");
    EXPECT_EQ(synced.List().back(), app.List().back());
}

TEST(FormLoad, EmptyServersFileLeavesNothingToSelectAndTheSyncReportsIt) {
    FakeApp app("1");
    app.files.files["QLOK servers.ini"] = ";only a comment\r\n";
    app.Load();
    EXPECT_TRUE(app.combo1.items.empty());
    EXPECT_EQ(app.List(),
              (Lines{"target: ", "opening connection", "   error received: No server name given",
                     "   error received: 11001", "sockets closed"}));
}

TEST(FormLoad, RegionalCommaSelectsByRoundedNumber) {
    FakeApp app("1,5");
    app.regional.formats = FakeRegional::German();
    app.Load();
    EXPECT_EQ(app.combo1.text, "129.6.15.28");
}

}  // namespace
}  // namespace qlok
