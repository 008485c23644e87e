// The regional services under the real settings of the system: PosixRegional in each locale
// reads back what it writes; PosixClock in zones with and without daylight-saving time shows
// every date with the one offset it reads here.
#include <gtest/gtest.h>

#include <ctime>
#include <tuple>
#include <utility>

#include "posix/posix_services.h"
#include "posix_test_support.h"
#include "runtime/datetime.h"
#include "runtime/numbers.h"

namespace qlok {
namespace {

// The locale; its date and time pictures, as readings are compared through them, and decimal
// separator.
const std::pair<const char*, const char*> kLocales[] = {
    {"C", "MM/dd/yy HH:mm:ss ."},
    {"en_US.UTF-8", "MM/dd/yyyy hh:mm:ss tt ."},
    {"en_GB.UTF-8", "dd/MM/yy HH:mm:ss ."},
    {"de_DE.UTF-8", "dd.MM.yyyy HH:mm:ss ,"},
    {"cs_CZ.UTF-8", "d.M.yyyy HH:mm:ss ,"},
    // A month name in the date; a time format with a zone and without seconds.
    {"nb_NO.UTF-8", "dd. MMM yyyy HH:mm:ss ,"},
};

TEST(PosixRegional, EveryLocaleWritesAndReadsItsOwnForms) {
    for (const auto& [name, forms] : kLocales) {
        SCOPED_TRACE(name);
        const posix_test::ScopedLocale locale(name);
        ASSERT_TRUE(locale.ok()) << "not installed: run scripts/deps.sh";
        const posix::PosixRegional regional;
        const RegionalFormats f = ComparisonFormats(regional.Formats());
        EXPECT_EQ(f.shortDate + " " + f.longTime + " " + f.decimalSeparator, forms);
        // Numbers follow the regional separator only, never the C library's LC_NUMERIC.
        EXPECT_EQ(NumberToText(-0.5, "."), "-0.5");
        EXPECT_EQ(ParseNumber("-0" + f.decimalSeparator + "5", f.decimalSeparator), -0.5);

        for (const DateParts& p : {DateParts{2026, 12, 5, 22, 54, 19}, DateParts{1999, 2, 28},
                                   DateParts{2075, 7, 4, 13, 0, 1}, DateParts{1899, 12, 30, 1}}) {
            const std::string text = DateToText(*MakeDate(p), f);
            const auto back = TextToDate(text, f, 2026);
            ASSERT_TRUE(back) << text;
            EXPECT_EQ(SplitDate(*back), p) << text;
        }
    }
}

TEST(PosixClock, ReadsTheZonesOffsetNowAndTheLocalTime) {
    // The zone and its offsets east of UTC in winter and in summer.
    for (const auto& [name, winter, summer] : {std::tuple{"Asia/Kolkata", 19800L, 19800L},
                                               {"Asia/Kathmandu", 20700L, 20700L},
                                               {"UTC", 0L, 0L},
                                               {"Europe/Berlin", 3600L, 7200L}}) {
        SCOPED_TRACE(name);
        const posix_test::ScopedTimeZone zone(name);
        posix::PosixClock clock;  // read only: never set
        const long offset = clock.UtcOffsetSecondsNow();
        EXPECT_TRUE(offset == winter || offset == summer) << offset;
        const long long unixEpoch = 25569LL * 86400;  // 1970-01-01 as seconds of date values
        const long long drift =
            TotalSeconds(*MakeDate(clock.LocalNow())) - offset - unixEpoch - std::time(nullptr);
        EXPECT_TRUE(drift == 0 || drift == -1) << drift;
    }
}

}  // namespace
}  // namespace qlok
