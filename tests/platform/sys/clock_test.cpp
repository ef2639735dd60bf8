#include "platform/sys/clock.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/sys/datetime.h"

namespace {

TEST(VirtualClock, DelayAdvancesAndIsRecordedLocalTimeFollowsAndPrintsZeroPadded) {
    sys::VirtualClock clock;
    double seen = -1;
    clock.SetDelayHook([&](double s) { seen = s; });
    clock.Delay(0.1);
    clock.Delay(-3);
    EXPECT_DOUBLE_EQ(clock.Now(), 0.1);
    EXPECT_DOUBLE_EQ(seen, 0.0);
    EXPECT_EQ(clock.Delays(), (std::vector<double>{0.1, 0.0}));

    // Local time carries over the year's end and the leap day; dates print month first.
    clock.SetLocalStart({2013, 12, 31, 23, 59, 30});
    clock.Advance(45);
    EXPECT_EQ(clock.LocalNow(), (sys::DateTime{2014, 1, 1, 0, 0, 15}));
    EXPECT_EQ(sys::AddSeconds({2024, 2, 28, 12, 0, 0}, 86400),
              (sys::DateTime{2024, 2, 29, 12, 0, 0}));
    EXPECT_EQ(sys::DateStr({2013, 5, 28, 9, 7, 3}), "05-28-2013");
    EXPECT_EQ(sys::TimeStr({2013, 5, 28, 9, 7, 3}), "09:07:03");
    EXPECT_EQ(sys::DateStr({987, 12, 31, 23, 59, 59}), "12-31-0987");
    EXPECT_EQ(sys::TimeStr({987, 12, 31, 23, 59, 59}), "23:59:59");
}

}  // namespace
