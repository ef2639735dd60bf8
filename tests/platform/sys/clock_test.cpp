#include "platform/sys/clock.h"

#include <gtest/gtest.h>

namespace {

TEST(VirtualClock, DelayAdvancesAndIsRecorded) {
    sys::VirtualClock clock;
    double seen = -1;
    clock.SetDelayHook([&](double s) { seen = s; });
    clock.Delay(0.1);
    clock.Delay(-3);
    EXPECT_DOUBLE_EQ(clock.Now(), 0.1);
    EXPECT_DOUBLE_EQ(seen, 0.0);
    ASSERT_EQ(clock.Delays().size(), 2u);
    EXPECT_DOUBLE_EQ(clock.Delays()[0], 0.1);
}

TEST(VirtualClock, LocalTimeFollowsVirtualSeconds) {
    sys::VirtualClock clock;
    clock.SetLocalStart({2013, 12, 31, 23, 59, 30});
    clock.Advance(45);
    EXPECT_EQ(clock.LocalNow(), (sys::DateTime{2014, 1, 1, 0, 0, 15}));
}

TEST(AddSeconds, LeapDay) {
    EXPECT_EQ(sys::AddSeconds({2024, 2, 28, 12, 0, 0}, 86400),
              (sys::DateTime{2024, 2, 29, 12, 0, 0}));
}

}  // namespace
