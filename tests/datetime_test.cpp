#include <gtest/gtest.h>

#include "app/datetime.h"
#include "app/numbers.h"
#include "fake/fake_platform.h"

namespace qlok {
namespace {

using fake::FakeRegional;

DateValue D(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return MakeDate({y, mo, d, h, mi, s}).value();
}

TEST(DateValue, CountsDaysFromTheZeroDate) {
    EXPECT_EQ(D(1899, 12, 30), 0.0);
    EXPECT_EQ(D(1900, 1, 1), 2.0);
    EXPECT_EQ(D(2026, 12, 5), 46361.0);
    EXPECT_DOUBLE_EQ(D(1899, 12, 30, 12), 0.5);
    // Below zero the day is the integer part and the time the magnitude of the fraction.
    EXPECT_DOUBLE_EQ(D(1899, 12, 29, 6), -1.25);
    EXPECT_EQ(SplitDate(-1.25), (DateParts{1899, 12, 29, 6, 0, 0}));
    EXPECT_EQ(SplitDate(FromSeconds(-5)), (DateParts{1899, 12, 30, 0, 0, 5}));
    EXPECT_EQ(SplitDate(FromSeconds(-86405)), (DateParts{1899, 12, 29, 0, 0, 5}));
    EXPECT_FALSE(MakeDate({2026, 2, 29, 0, 0, 0}));
    EXPECT_TRUE(MakeDate({2024, 2, 29, 0, 0, 0}));
    EXPECT_FALSE(MakeDate({2026, 12, 5, 24, 0, 0}));
}

TEST(DateValue, SplitsRoundTripEverySecondOfADay) {
    for (int s = 0; s < 86400; s += 7) {
        const DateParts p{2026, 12, 5, s / 3600, s / 60 % 60, s % 60};
        EXPECT_EQ(SplitDate(*MakeDate(p)), p);
    }
}

TEST(DateText, LeavesOutTheZeroDateAndMidnight) {
    const RegionalFormats gb = FakeRegional::British();
    EXPECT_EQ(DateToText(D(2026, 12, 5, 22, 15, 3), gb), "05/12/2026 22:15:03");
    EXPECT_EQ(DateToText(D(2026, 12, 5), gb), "05/12/2026");
    EXPECT_EQ(DateToText(FromSeconds(-5), gb), "00:00:05");
    EXPECT_EQ(DateToText(0.0, gb), "00:00:00");
    EXPECT_EQ(DateToText(FromSeconds(-86401), gb), "29/12/1899 00:00:01");
    const RegionalFormats us = FakeRegional::American();
    EXPECT_EQ(DateToText(FromSeconds(-5), us), "12:00:05 AM");
    EXPECT_EQ(DateToText(D(2026, 12, 5, 13, 0, 9), us), "12/05/2026 01:00:09 PM");
}

TEST(DateText, ReadsBackItsOwnFormsAndIso) {
    for (const RegionalFormats& f : {FakeRegional::British(), FakeRegional::American(),
                                     FakeRegional::German(), RegionalFormats{}}) {
        for (const DateValue v : {D(2026, 12, 5, 22, 15, 3), D(2026, 1, 1), D(2027, 6, 30, 0, 0, 1),
                                  D(2026, 12, 5, 12, 0, 0), D(2026, 12, 5, 0, 30, 0)}) {
            const std::string text = DateToText(v, f);
            EXPECT_EQ(TextToDate(text, f), v) << text;
        }
        EXPECT_EQ(TextToDate("2026-12-05 21:54:19", f), D(2026, 12, 5, 21, 54, 19));
        EXPECT_EQ(TextToDate("  2026-12-05  ", f), D(2026, 12, 5));
    }
    const RegionalFormats us = FakeRegional::American();
    EXPECT_EQ(TextToDate("12:00:05 AM", us), FromSeconds(5));
    EXPECT_EQ(TextToDate("12:00:05 pm", us), FromSeconds(12 * 3600 + 5));
}

TEST(DateText, RejectsWhatIsNoDate) {
    const RegionalFormats gb = FakeRegional::British();
    for (const char* text : {"", "   ", "20 ", "2026-13-05 10:00:00", "2026-12-05 25:00:00",
                             "2026-02-30 10:00:00", "2026-12-05 10:00:00x", "20\n6-12-05 1:00:00",
                             "2026-12-05 21:54:192026-12-05 21", "hello", "32/12/2026"}) {
        EXPECT_FALSE(TextToDate(text, gb)) << text;
    }
}

TEST(DateText, TwoDigitYearsFallInTheWindow) {
    RegionalFormats c;  // the C locale: %m/%d/%y
    EXPECT_EQ(DateToText(D(2026, 12, 5, 1, 2, 3), c), "12/05/26 01:02:03");
    EXPECT_EQ(TextToDate("12/05/26 01:02:03", c), D(2026, 12, 5, 1, 2, 3));
    EXPECT_EQ(TextToDate("12/05/30", c), D(1930, 12, 5));
}

TEST(DateText, GnuFlagsPadAsTheyAsk) {
    RegionalFormats f;
    f.shortDate = "%-d.%-m.%Y";
    f.longTime = "%_H:%M:%S %^p";
    f.am = "am";
    EXPECT_EQ(DateToText(D(2026, 6, 5, 7, 8, 9), f), "5.6.2026  7:08:09 AM");
    EXPECT_EQ(TextToDate("5.6.2026  7:08:09 AM", f), D(2026, 6, 5, 7, 8, 9));
    f.shortDate = "%d/%m/%C%y";
    EXPECT_EQ(DateToText(D(1999, 6, 5), f), "05/06/1999");
    EXPECT_EQ(TextToDate("05/06/1999", f), D(1999, 6, 5));
}

TEST(DateText, MonthNamesAndComposites) {
    RegionalFormats f;
    f.shortDate = "%e %b %Y";
    f.longTime = "%T";
    f.monthAbbreviations = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    EXPECT_EQ(DateToText(D(2026, 6, 5, 7, 8, 9), f), " 5 Jun 2026 07:08:09");
    EXPECT_EQ(TextToDate(" 5 Jun 2026 07:08:09", f), D(2026, 6, 5, 7, 8, 9));
}

TEST(Numbers, ReadUnderTheRegionalSeparator) {
    EXPECT_EQ(ParseNumber(" 2.5 ", "."), 2.5);
    EXPECT_EQ(ParseNumber("-3", "."), -3.0);
    EXPECT_EQ(ParseNumber("+7", "."), 7.0);
    EXPECT_EQ(ParseNumber("2,5", ","), 2.5);
    EXPECT_EQ(ParseNumber(".5", "."), 0.5);
    EXPECT_EQ(ParseNumber("1e3", "."), 1000.0);
    for (const char* bad : {"", " ", "abc", "2,5", "1.2.3", "--1", "1e", "1 2", "1e999"}) {
        EXPECT_FALSE(ParseNumber(bad, ".")) << bad;
    }
}

TEST(Numbers, WrittenAsTheRuntimeWritesDoubles) {
    EXPECT_EQ(NumberToText(239, "."), "239");
    EXPECT_EQ(NumberToText(-4, "."), "-4");
    EXPECT_EQ(NumberToText(1.5, ","), "1,5");
    EXPECT_EQ(NumberToText(-0.5, "."), "-0.5");
    EXPECT_EQ(NumberToText(0.1 + 0.2, "."), "0.3");
    EXPECT_EQ(NumberToText(-0.0, "."), "0");
    EXPECT_EQ(NumberToText(1e20, "."), "1E+20");
}

TEST(Numbers, RoundHalvesToEvenWithinSixteenBits) {
    EXPECT_EQ(RoundToInt16(2.5), 2);
    EXPECT_EQ(RoundToInt16(1.5), 2);
    EXPECT_EQ(RoundToInt16(0.5), 0);
    EXPECT_EQ(RoundToInt16(-2.5), -2);
    EXPECT_EQ(RoundToInt16(2.6), 3);
    EXPECT_EQ(RoundToInt16(32767.4), 32767);
    EXPECT_FALSE(RoundToInt16(32767.5));
    EXPECT_EQ(RoundToInt16(-32768.5), -32768);
    EXPECT_FALSE(RoundToInt16(-32769));
}

}  // namespace
}  // namespace qlok
