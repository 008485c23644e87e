#include <gtest/gtest.h>

#include <tuple>

#include "fake/fake_platform.h"
#include "runtime/datetime.h"
#include "runtime/numbers.h"

namespace qlok {
namespace {

using fake::FakeRegional;

DateValue D(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return MakeDate({y, mo, d, h, mi, s}).value();
}

TEST(DateValue, CountsDaysFromTheZeroDate) {
    EXPECT_EQ(D(2026, 12, 5), 46361.0);
    EXPECT_FALSE(MakeDate({2026, 2, 29, 0, 0, 0}));
    for (int s = 0; s < 86400; s += 7) {
        SCOPED_TRACE(s);
        const DateParts p{2024, 2, 29, s / 3600, s / 60 % 60, s % 60};
        EXPECT_EQ(SplitDate(*MakeDate(p)), p);
    }
}

// The clock services count in seconds since 1970; leap days, centuries and times before 1970.
TEST(UnixSeconds, AgreeWithUtcFieldsBothWays) {
    for (const auto& [utc, seconds] : {
             std::pair{SystemTimeRecord{1970, 1, 0, 1, 0, 0, 0, 0}, std::int64_t{0}},
             {SystemTimeRecord{1969, 12, 0, 31, 23, 59, 59, 0}, -1},
             {SystemTimeRecord{2000, 2, 0, 29, 12, 0, 0, 0}, 951'825'600},
             {SystemTimeRecord{2026, 12, 0, 5, 21, 54, 24, 0}, 1'796'507'664},
             {SystemTimeRecord{2100, 3, 0, 1, 0, 0, 0, 0}, 4'107'542'400},
             {SystemTimeRecord{1601, 1, 0, 1, 0, 0, 0, 0}, -11'644'473'600},
         }) {
        SCOPED_TRACE(seconds);
        EXPECT_EQ(UnixSeconds(utc), seconds);
        EXPECT_EQ(UtcRecord(seconds), utc);
    }
}

// Every token and quoting form, written and read back.
TEST(DateText, PicturesBothWays) {
    RegionalFormats f = FakeRegional::American();
    f.monthNames[5] = "June", f.monthAbbreviations[5] = "Jun", f.dayNames[5] = "Friday";
    f.dayAbbreviations[5] = "Fri", f.am = "am", f.pm = "pm";
    for (const auto& [date, time, value, text] :
         {std::tuple{"d.M.yyyy", "H:m:s", D(2026, 6, 5, 7, 8, 9), "5.6.2026 7:8:9"},
          {"MM/dd/yy", "hh:mm:ss tt", D(2026, 6, 5, 13, 0, 9), "06/05/26 01:00:09 pm"},
          {"M/d/y", "h:mm:ss t", D(2005, 6, 5, 0, 0, 9), "6/5/5 12:00:09 a"},
          {"dddd, MMMM d, yyyyy", "HH'h'mm'm'ss's'", D(2026, 6, 5, 22, 0, 1),
           "Friday, June 5, 2026 22h00m01s"},
          {"ddd dd 'de' MMM yy", "HH:mm:ss", D(2026, 6, 5, 0, 0, 1), "Fri 05 de Jun 26 00:00:01"},
          {"dd''MMM''yyyy", "HH:mm:ss", D(2026, 12, 5, 1, 2, 3), "05'12'2026 01:02:03"},
          {"dd/MM/yyyy", "HH:mm:ss", D(2026, 12, 5), "05/12/2026"},
          // below zero: the day is the integer part, the time the magnitude of the fraction
          {"dd/MM/yyyy", "HH:mm:ss", FromSeconds(-86401), "29/12/1899 00:00:01"}}) {
        SCOPED_TRACE(text);
        f.shortDate = date, f.longTime = time;
        EXPECT_EQ(DateToText(value, f), text);
        EXPECT_EQ(TextToDate(text, f, 2026), value) << text;
        EXPECT_EQ(TextToDate(" 2026-12-05 21:54:19 ", f, 2026), D(2026, 12, 5, 21, 54, 19));
    }
    // A picture that looks like year-month-day: the program's own text is read its way.
    f.shortDate = "yyyy-dd-MM", f.longTime = "HH:mm:ss";
    EXPECT_EQ(TextToDate(DateToText(D(2026, 10, 1, 12), f), f, 2026), D(2026, 10, 1, 12));
}

TEST(DateText, RejectsWhatIsNoDate) {
    for (const char* text :
         {"", "   ", "20 ", "2026-13-05 10:00:00", "2026-12-05 25:00:00", "2026-02-30 10:00:00",
          "2026-12-05 10:00:00x", "20\n6-12-05 1:00:00", "2026-12-05 21:54:192026-12-05 21",
          "32/12/2026", "12/05/2026 13:00:00 PM"}) {
        EXPECT_FALSE(TextToDate(text, FakeRegional::American(), 2026)) << text;
    }
}

TEST(DateText, TwoDigitYearsReadBackInTheCenturyAroundNow) {
    const RegionalFormats c;  // MM/dd/yy
    for (const int now : {1999, 2029, 2030, 2075}) {
        for (int year = now - 49; year <= now + 49; ++year) {
            const DateValue v = D(year, 12, 31, 23, 59, 55);
            EXPECT_EQ(TextToDate(DateToText(v, c), c, now), v) << year << " read in " << now;
        }
    }
}

TEST(DateText, ComparedTimesCarrySecondsAndNoOuterBlanks) {
    const std::pair<const char*, const char*> cases[] = {
        {"HH:mm", "HH:mm:ss"},      {"h:mm tt", "hh:mm:ss tt"}, {" 'kl'. H.mm ", "HH:mm:ss"},
        {"'ss' HH:mm", "HH:mm:ss"}, {"H:mm:s", "H:mm:s"},       {" hh:mm:ss tt ", "hh:mm:ss tt"}};
    for (const auto& [time, compared] : cases) {
        SCOPED_TRACE(time);
        RegionalFormats f;
        f.shortDate = " dd/MM/yy ", f.longTime = time;
        EXPECT_EQ(ComparisonFormats(f).shortDate + "|" + ComparisonFormats(f).longTime,
                  std::string("dd/MM/yy|") + compared);
    }
}

// The runtime's forms: 15 significant digits, an exponent below 1E-04 and from 1E+15.
TEST(Numbers, WrittenAndReadUnderTheRegionalSeparator) {
    const std::pair<double, const char*> cases[] = {{-0.25, "-0,25"}, {0.3, "0,3"},
                                                    {1e15, "1E+15"},  {1e-4, "0,0001"},
                                                    {1e-5, "1E-05"},  {-1.5e300, "-1,5E+300"}};
    for (const auto& [value, text] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(NumberToText(value, ","), text);
        EXPECT_EQ(ParseNumber(text, ","), value);
    }
    EXPECT_EQ(NumberToText(2.0 / 3, "."), "0.666666666666667");
    EXPECT_EQ(NumberToText(999999999999999, "."), "999999999999999");
    EXPECT_EQ(ParseNumber(" +2,5e1 ", ","), 25.0);
    for (const char* bad : {"", " ", "abc", "2,5", "1.2.3", "--1", "1e", "1 2", "1e999"}) {
        EXPECT_FALSE(ParseNumber(bad, ".")) << bad;
    }
    const std::pair<double, int> halves[] = {
        {-2.5, -2}, {0.5, 0}, {32767.4, 32767}, {-32768.5, -32768}};
    for (const auto& [value, rounded] : halves) {
        EXPECT_EQ(RoundToInt16(value), rounded) << value;
    }
    EXPECT_FALSE(RoundToInt16(32767.5));
}

}  // namespace
}  // namespace qlok
