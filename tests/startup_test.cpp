#include <gtest/gtest.h>

#include <optional>

#include "app/startup.h"
#include "fake/fake_platform.h"

namespace qlok {
namespace {

using Lines = std::vector<std::string>;

// Lines end at CR LF, LF or CR and are kept as written, empty ones too, so that entry numbers
// never move; those starting with ';' are skipped, a leading UTF-8 byte-order mark goes, and a
// line longer than 255 characters is cut.
TEST(ServerList, OneEntryPerLine) {
    const std::pair<std::string, Lines> cases[] = {
        {"\xEF\xBB\xBF host \r\n[x]\ra\nb\r", {" host ", "[x]", "a", "b"}},
        {";a\nb\r\n\n\r\n;\xEF\xBB\xBF", {"b", "", ""}},
        {"\xEF\xBB\xBF;c\n" + std::string(300, 'n'), {std::string(255, 'n') + "..."}},
        {std::string(256, '\0') + "\xc3\xa9", {std::string(255, '\0') + "..."}},
        {std::string(254, 'n') + "\xc3\xa9\xc3\xa9", {std::string(254, 'n') + "\xc3\xa9..."}},
        {std::string(3, '\x80') + std::string(300, 'n'),
         {std::string(3, '\x80') + std::string(252, 'n') + "..."}},
        {"", {}},
    };
    for (const auto& [file, entries] : cases) {
        EXPECT_EQ(ParseServerList(file).entries, entries) << testing::PrintToString(file);
    }
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
    const std::string utf16 =
        "QLOK servers.ini is UTF-16 text, which QLOK cannot read; using the built-in servers";
    const std::string over =
        "QLOK servers.ini is over 1 MiB: only its first 1048576 bytes are read";
    const std::string cut = std::string(255, 'x') + "...";
    const Lines nist{"target: time.nist.gov", "opening connection"};
    const Lines blank{"target: ", "opening connection", "   error received: No server name given",
                      "   error received: 11001", "sockets closed"};
    struct Case {
        const char* name;
        const char* argument;
        std::optional<std::string> file;
        Lines items;
        std::string selected;
        Lines list;
        bool readable = true;
    };
    for (const Case& c :
         {Case{"no file", "", {}, builtIn, "time.nist.gov", {" "}},
          Case{"no number", "please", {}, builtIn, "time.nist.gov", nist},
          Case{"UTF-16", "", "\xFF\xFE", builtIn, "time.nist.gov", {" ", utf16}},
          Case{"over 1 MiB",
               "2",
               "\n" + std::string(kServersFileMaxBytes, 'x') + "\nb",
               {"", cut},
               cut,
               {"target: " + cut, "opening connection", over}},
          Case{"blank entry", "2", "a\r\n;b\r\n\r\n ;c", {"a", "", " ;c"}, "", blank},
          Case{"only a comment", "1", ";only a comment\r\n", {}, "", blank},
          Case{"unreadable",
               "1",
               "x",
               builtIn,
               "time.nist.gov",
               {nist[0], nist[1], unread},
               false}}) {
        SCOPED_TRACE(c.name);
        fake::FakeApp app(c.argument);
        if (c.file) {
            app.files.files["QLOK servers.ini"] = *c.file;
        }
        app.files.unreadable[c.readable ? "" : "QLOK servers.ini"] = "Permission denied";
        app.Load();
        EXPECT_EQ(app.combo1.items, c.items);
        EXPECT_EQ(app.combo1.text, c.selected);
        EXPECT_EQ(app.List(), c.list);
    }
    fake::FakeApp comma("1,5");  // a number in the regional form: 2 once rounded
    comma.regional.formats = fake::FakeRegional::German();
    comma.Load();
    EXPECT_EQ(comma.combo1.text, "129.6.15.28");
}

}  // namespace
}  // namespace qlok
