#include "platform/sys/datetime.h"

#include <gtest/gtest.h>

namespace {

TEST(DateTimeStrings, ZeroPaddedFields) {
    EXPECT_EQ(sys::DateStr({2013, 5, 28, 9, 7, 3}), "05-28-2013");
    EXPECT_EQ(sys::TimeStr({2013, 5, 28, 9, 7, 3}), "09:07:03");
    EXPECT_EQ(sys::DateStr({987, 12, 31, 23, 59, 59}), "12-31-0987");
    EXPECT_EQ(sys::TimeStr({987, 12, 31, 23, 59, 59}), "23:59:59");
}

}  // namespace
