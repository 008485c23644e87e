// PosixClock in zones whose offset is not a whole number of hours.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <ctime>

#include "posix/posix_services.h"
#include "posix_test_support.h"

namespace qlok {
namespace {

using posix_test::PlatformWith;
using posix_test::ScopedTimeZone;

struct ZoneCase {
    const char* zone;
    long offset;            // seconds east of UTC, no daylight saving in these zones
    const char* localText;  // of 2026-12-05 21:54:19 UTC, in the fake's ISO formats
};

const ZoneCase kZones[] = {
    {"Asia/Kolkata", 19800, "2026-12-06 03:24:19"},
    {"Asia/Kathmandu", 20700, "2026-12-06 03:39:19"},
    {"UTC", 0, "2026-12-05 21:54:19"},
};

class InZone : public ::testing::TestWithParam<ZoneCase> {
  protected:
    void SetUp() override {
        const std::string file = std::string("/usr/share/zoneinfo/") + GetParam().zone;
        struct stat info {};
        if (::stat(file.c_str(), &info) != 0) {
            GTEST_SKIP() << file << " is missing (install tzdata)";
        }
    }
    ScopedTimeZone zone_{GetParam().zone};
    posix::PosixClock clock_;  // read only: never set
};

TEST_P(InZone, OffsetAndLocalNowFollowTheZone) {
    EXPECT_EQ(clock_.UtcOffsetSecondsNow(), GetParam().offset);

    const std::time_t before = std::time(nullptr);
    const DateParts local = clock_.LocalNow();
    const std::time_t after = std::time(nullptr);
    std::tm t{};
    t.tm_year = local.year - 1900;
    t.tm_mon = local.month - 1;
    t.tm_mday = local.day;
    t.tm_hour = local.hour;
    t.tm_min = local.minute;
    t.tm_sec = local.second;
    const std::time_t asUtc = timegm(&t) - GetParam().offset;
    EXPECT_GE(asUtc, before);
    EXPECT_LE(asUtc, after);
}

TEST_P(InZone, ServerTimeIsShownInTheZone) {
    fake::FakeApp app;
    Platform platform = PlatformWith(app, clock_, app.regional);
    const QLOKfrm form(platform, {});
    EXPECT_EQ(form.ToLocalTimeText("2026-12-05 21:54:19"), GetParam().localText);
}

INSTANTIATE_TEST_SUITE_P(Zones, InZone, ::testing::ValuesIn(kZones), [](const auto& test) {
    std::string name = test.param.zone;
    std::erase_if(name, [](char c) { return c == '/'; });
    return name;
});

}  // namespace
}  // namespace qlok
