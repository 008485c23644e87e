// PosixRegional under the real locales of the system, and the window logic on top of it.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>

#include "app/datetime.h"
#include "posix/posix_services.h"
#include "posix_test_support.h"

namespace qlok {
namespace {

using posix_test::PlatformWith;
using posix_test::ScopedLocale;

struct LocaleCase {
    const char* locale;
    const char* offset;       // DateToText of a 5-second offset
    const char* date;         // DateToText of 5 December 2026, midnight
    const char* decimal;      // the decimal separator
    const char* december;     // %B of December
    const char* saturday;     // %A of 5 December 2026
    const char* caption;      // after a 5-second slow correction
    const char* historyLine;  // the line that correction appends
};

const LocaleCase kLocales[] = {
    {"C", "00:00:05", "12/05/26", ".", "December", "Saturday",
     "QLOK 12/05/26 22:54:24 00:00:05 (Slow)", "12/05/26 22:54:19 00:00:05 (Slow) ok\r\n"},
    {"en_US.UTF-8", "12:00:05 AM", "12/05/2026", ".", "December", "Saturday",
     "QLOK 12/05/2026 10:54:24 PM 12:00:05 AM (Slow)",
     "12/05/2026 10:54:19 PM 12:00:05 AM (Slow) ok\r\n"},
    {"en_GB.UTF-8", "00:00:05", "05/12/26", ".", "December", "Saturday",
     "QLOK 05/12/26 22:54:24 00:00:05 (Slow)", "05/12/26 22:54:19 00:00:05 (Slow) ok\r\n"},
    {"de_DE.UTF-8", "00:00:05", "05.12.2026", ",", "Dezember", "Samstag",
     "QLOK 05.12.2026 22:54:24 00:00:05 (Slow)", "05.12.2026 22:54:19 00:00:05 (Slow) ok\r\n"},
    // Unpadded day and month (%-d.%-m.%Y).
    {"cs_CZ.UTF-8", "00:00:05", "5.12.2026", ",", "prosince", "Sobota",
     "QLOK 5.12.2026 22:54:24 00:00:05 (Slow)", "5.12.2026 22:54:19 00:00:05 (Slow) ok\r\n"},
    // A month name in the date, and a time format without seconds (which gets them).
    {"nb_NO.UTF-8", "00:00:05", "05. des. 2026", ",", "desember", "l\xC3\xB8rdag",
     "QLOK 05. des. 2026 22:54:24 00:00:05 (Slow)",
     "05. des. 2026 22:54:19 00:00:05 (Slow) ok\r\n"},
};

class UnderLocale : public ::testing::TestWithParam<LocaleCase> {
  protected:
    void SetUp() override {
        if (!locale_.ok()) {
            GTEST_SKIP() << "locale " << GetParam().locale
                         << " is not installed (generate it with locale-gen)";
        }
    }
    RegionalFormats Formats() const { return regional_.Formats(); }
    posix::PosixRegional regional_;

  private:
    ScopedLocale locale_{GetParam().locale};
};

DateValue Date(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return MakeDate({y, mo, d, h, mi, s}).value();
}

TEST_P(UnderLocale, FormatsOffsetsDatesNamesAndNumbers) {
    const RegionalFormats f = Formats();
    EXPECT_EQ(DateToText(FromSeconds(-5), f), GetParam().offset);
    EXPECT_EQ(DateToText(Date(2026, 12, 5), f), GetParam().date);
    EXPECT_EQ(f.decimalSeparator, GetParam().decimal);
    EXPECT_EQ(FormatPattern("%B", SplitDate(Date(2026, 12, 5)), f), GetParam().december);
    EXPECT_EQ(FormatPattern("%A", SplitDate(Date(2026, 12, 5)), f), GetParam().saturday);
    EXPECT_EQ(f.shortDate.find("%Z"), std::string::npos);
    EXPECT_EQ(f.longTime.find("%Z"), std::string::npos);
}

TEST_P(UnderLocale, DateTextReadsBackToTheSameValue) {
    const RegionalFormats f = Formats();
    const DateValue values[] = {
        Date(2026, 12, 5, 22, 54, 19), Date(2026, 12, 5, 0, 30, 0),
        Date(2026, 12, 5, 12, 30, 0),  Date(2026, 1, 1),
        Date(1999, 2, 28, 13, 0, 1),   FromSeconds(-3601),
    };
    for (const DateValue v : values) {
        const std::string text = DateToText(v, f);
        const auto back = TextToDate(text, f);
        ASSERT_TRUE(back) << text;
        EXPECT_EQ(TotalSeconds(*back), TotalSeconds(std::fabs(v))) << text;
    }
}

// The whole correction on the fake front end, with the regional formats of the real locale:
// the caption and the history line carry the locale's date and time forms.
TEST_P(UnderLocale, SlowClockCorrectionWritesTheLocalesHistoryLine) {
    fake::FakeApp app;
    Platform platform = PlatformWith(app, app.clock, regional_);
    QLOKfrm form(platform, {});
    app.combo1.text = "127.0.0.1";
    form.Command1_Click();
    form.Winsock1_Connect();
    app.winsock1.attempt.Received(fake::NistReply(26, 12, 5, 21, 54, 24));  // 5 s ahead
    form.Winsock1_DataArrival(51);
    form.Winsock1_Close();

    EXPECT_EQ(app.window.caption, GetParam().caption);
    ASSERT_EQ(app.clock.setCalls.size(), 1u);
    EXPECT_EQ(app.clock.setCalls[0].wSecond, 24);
    EXPECT_EQ(app.History(), GetParam().historyLine);
}

INSTANTIATE_TEST_SUITE_P(Locales, UnderLocale, ::testing::ValuesIn(kLocales), [](const auto& test) {
    std::string name = test.param.locale;
    std::erase_if(name, [](char c) { return !std::isalnum(c); });
    return name;
});

}  // namespace
}  // namespace qlok
