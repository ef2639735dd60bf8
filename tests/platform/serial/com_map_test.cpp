#include "platform/serial/com_map.h"

#include <gtest/gtest.h>

#include <set>

#include "temp_dir.h"

namespace {

using serial::ComDevicePath;
using serial::ComMapEnv;
using serial::ComNumberOfDevice;

TEST(ComDevicePath, DefaultRuleAndFolderEntries) {
    std::set<std::string> entries{"/cfg/COM5", "/cfg/COM200", "/cfg/COM257"};
    ComMapEnv env{"/cfg", [&](const std::string& p) { return entries.count(p) != 0; }};
    const std::pair<int, const char*> edges[] = {{1, "/dev/ttyS0"},
                                                 {32, "/dev/ttyS31"},
                                                 {33, "/dev/ttyUSB0"},
                                                 {64, "/dev/ttyUSB31"},
                                                 {65, "/dev/ttyACM0"},
                                                 {96, "/dev/ttyACM31"},
                                                 {97, ""},
                                                 {0, ""}};
    for (const auto& [com, path] : edges)
        EXPECT_EQ(ComDevicePath(com, env), path) << com;
    EXPECT_EQ(ComDevicePath(5, env), "/cfg/COM5");
    EXPECT_EQ(ComDevicePath(200, env), "/cfg/COM200");
    EXPECT_EQ(ComDevicePath(257, env), "");
    env.comportsDir = "";
    EXPECT_EQ(ComDevicePath(5, env), "/dev/ttyS4");
}

TEST(ComDevicePath, DanglingLinkKeepsItsNumber) {
    serial_test::TempDir dir;
    serial_test::Symlink("/dev/serial/by-id/usb-unplugged-port0", dir.Sub("COM33"));
    ComMapEnv env{dir.path(), nullptr};  // the default existence check
    EXPECT_EQ(ComDevicePath(33, env), dir.Sub("COM33"));
    EXPECT_EQ(ComDevicePath(34, env), "/dev/ttyUSB1");
}

TEST(ComNumberOfDevice, FolderLinkFirstThenDefaultRule) {
    serial_test::TempDir dir;
    serial_test::WriteFile(dir.Sub("dev/pts7"), "");
    serial_test::Symlink(dir.Sub("dev/pts7"), dir.Sub("comports/COM120"));
    serial_test::Symlink("/dev/serial/by-id/other", dir.Sub("comports/COM34"));
    ComMapEnv env{dir.Sub("comports"), nullptr};

    EXPECT_EQ(ComNumberOfDevice(dir.Sub("dev/pts7"), env), 120);
    EXPECT_EQ(ComNumberOfDevice(dir.Sub("comports/COM120"), env), 120);
    EXPECT_EQ(ComNumberOfDevice("/dev/ttyS31", env), 32);
    EXPECT_EQ(ComNumberOfDevice("/dev/ttyUSB0", env), 33);
    EXPECT_EQ(ComNumberOfDevice("/dev/ttyACM31", env), 96);
    EXPECT_EQ(ComNumberOfDevice("/dev/ttyUSB1", env), 0);  // COM34 is the folder's
    EXPECT_EQ(ComNumberOfDevice("/dev/ttyS32", env), 0);
    EXPECT_EQ(ComNumberOfDevice("/dev/ttyUSB01", env), 0);
    EXPECT_EQ(ComNumberOfDevice("/dev/pts/3", env), 0);
}

// Changes the process environment: leaves the three variables as this test set them.
TEST(DefaultComportsDir, ExplicitThenXdgThenHome) {
    setenv("HOME", "/home/tech", 1);
    setenv("XDG_CONFIG_HOME", "/home/tech/.cfg", 1);
    setenv("COMPORTS_DIR", "/etc/comports", 1);
    EXPECT_EQ(serial::DefaultComportsDir(), "/etc/comports");
    unsetenv("COMPORTS_DIR");
    EXPECT_EQ(serial::DefaultComportsDir(), "/home/tech/.cfg/comports");
    setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(serial::DefaultComportsDir(), "/home/tech/.config/comports");
}

}  // namespace
