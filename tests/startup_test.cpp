#include <gtest/gtest.h>

#include "app/startup.h"
#include "fake/fake_platform.h"

namespace qlok {
namespace {

using Lines = std::vector<std::string>;

// Lines end at CR LF or a lone CR and are kept verbatim; those starting with ';' are skipped.
TEST(ServerList, OneEntryPerLine) {
    EXPECT_EQ(ParseServerList("\xEF\xBB\xBF host \r\n[x]\ra\nb\r"),
              (Lines{"\xEF\xBB\xBF host ", "[x]", "a\nb"}));
    EXPECT_EQ(ParseServerList(";a\nb\r\n\r\n"), Lines{""});
    EXPECT_EQ(ParseServerList(""), Lines{});
}

// Entry numbers 1 to 3 pick that entry, halves rounded to even; anything else picks the first.
TEST(CommandLine, PicksAServerByNumber) {
    const std::pair<const char*, int> cases[] = {
        {"2", 1},   {"1", 0},     {"0", 0},      {"3", 2},   {"4", 0},
        {"-1", 0},  {"word", 0},  {"2.5", 1},    {"0.5", 0}, {"1.5", 1},
        {" 2 ", 1}, {"40000", 0}, {"-40000", 0}, {"1e1", 0}, {"2,5", 0}};
    for (const auto& [argument, index] : cases) {
        EXPECT_EQ(ServerIndexFromCommandLine(argument, 3, "."), index) << argument;
    }
    EXPECT_EQ(ServerIndexFromCommandLine("2,5", 3, ","), 1);
}

// The servers file (null: none) or else the built-in servers; any argument syncs at once with
// the entry it names, and the reason a file could not be read stays listed after the sync.
TEST(FormLoad, OffersTheServersAndSyncsWithTheNamedEntry) {
    const Lines builtIn{"time.nist.gov", "129.6.15.28"};
    const std::string unread =
        "QLOK servers.ini could not be read (Permission denied); using the built-in servers";
    const Lines nist{"target: time.nist.gov", "opening connection"};
    const Lines blank{"target: ", "opening connection", "   error received: No server name given",
                      "   error received: 11001", "sockets closed"};
    struct Case {
        const char* argument;
        const char* file;
        Lines items;
        std::string selected;
        Lines list;
        bool readable = true;
    };
    for (const Case& c :
         {Case{"", nullptr, builtIn, "time.nist.gov", {" "}},
          Case{"please", nullptr, builtIn, "time.nist.gov", nist},
          Case{"2", "a\r\n;b\r\n\r\n ;c", {"a", "", " ;c"}, "", blank},
          Case{"1", ";only a comment\r\n", {}, "", blank},
          Case{"1", "x", builtIn, "time.nist.gov", {nist[0], nist[1], unread}, false}}) {
        fake::FakeApp app(c.argument);
        if (c.file != nullptr) {
            app.files.files["QLOK servers.ini"] = c.file;
        }
        app.files.unreadable[c.readable ? "" : "QLOK servers.ini"] = "Permission denied";
        app.Load();
        EXPECT_EQ(app.combo1.items, c.items) << c.argument;
        EXPECT_EQ(app.combo1.text, c.selected) << c.argument;
        EXPECT_EQ(app.List(), c.list) << c.argument;
    }
    fake::FakeApp comma("1,5");  // a number in the regional form: 2 once rounded
    comma.regional.formats = fake::FakeRegional::German();
    comma.Load();
    EXPECT_EQ(comma.combo1.text, "129.6.15.28");
}

}  // namespace
}  // namespace qlok
