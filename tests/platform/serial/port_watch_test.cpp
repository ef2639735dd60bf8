#include "platform/serial/port_watch.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/platform/sys/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// A device folder and a COM folder of the test's own. inotify queues an event as the change
// is made, so each look sees what came before it without any wait.
class PortWatchTest : public ::testing::Test {
  protected:
    PortWatchTest() { fs::create_directory(dev); }

    sys_test::TempDir dir;
    std::string dev = dir.Sub("dev");
    std::string comDir = dir.Sub("comports");
};

TEST_F(PortWatchTest, TtysComingGoingOrChangingAreSeenOtherDevicesAreNot) {
    serial::PortWatch watch(dev, comDir);
    EXPECT_EQ(watch.Problem(), "");
    EXPECT_FALSE(watch.Changed());
    sys_test::WriteFile(dev + "/ttyUSB0", "");
    sys_test::WriteFile(dev + "/ttyUSB1", "");
    EXPECT_TRUE(watch.Changed());  // the burst is one change
    EXPECT_FALSE(watch.Changed());
    sys_test::WriteFile(dev + "/hidraw0", "");
    fs::create_directory(dev + "/bus");
    EXPECT_FALSE(watch.Changed());
    fs::permissions(dev + "/ttyUSB0", fs::perms::owner_read);  // udev sets the group's rights
    EXPECT_TRUE(watch.Changed());
    fs::rename(dev + "/ttyUSB1", dev + "/ttyUSB2");
    EXPECT_TRUE(watch.Changed());
    fs::remove(dev + "/ttyUSB0");
    EXPECT_TRUE(watch.Changed());
    EXPECT_FALSE(watch.Changed());
}

TEST_F(PortWatchTest, TheComFolderIsWatchedFromWhenItAppearsUntilItGoes) {
    serial::PortWatch watch(dev, comDir);
    EXPECT_FALSE(watch.Changed());
    fs::create_directory(comDir);
    sys_test::Symlink("/dev/pts/7", comDir + "/COM9");
    EXPECT_TRUE(watch.Changed());  // a folder made since: it may hold links already
    EXPECT_FALSE(watch.Changed());
    sys_test::WriteFile(comDir + "/COM9.conf", "echo=on\n");
    EXPECT_TRUE(watch.Changed());
    fs::remove(comDir + "/COM9");
    EXPECT_TRUE(watch.Changed());
    fs::remove_all(comDir);
    EXPECT_TRUE(watch.Changed());
    EXPECT_FALSE(watch.Changed());
    fs::create_directory(comDir);  // and back
    EXPECT_TRUE(watch.Changed());
    sys_test::Symlink("/dev/pts/8", comDir + "/COM10");
    EXPECT_TRUE(watch.Changed());
}

TEST_F(PortWatchTest, AMissingDeviceFolderIsSaidAndNothingChanges) {
    serial::PortWatch watch(dir.Sub("nowhere"), "");
    EXPECT_NE(watch.Problem().find("nowhere: No such file or directory"), std::string::npos)
        << watch.Problem();
    EXPECT_FALSE(watch.Changed());
}

}  // namespace
