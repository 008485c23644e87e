// PosixClock in zones with and without daylight-saving time: the window shows every date with
// the one offset it reads here.
#include <gtest/gtest.h>

#include <ctime>
#include <tuple>

#include "posix/posix_services.h"
#include "posix_test_support.h"
#include "runtime/datetime.h"

namespace qlok {
namespace {

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
