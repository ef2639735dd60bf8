#include "platform/serial/com_map.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/platform/sys/temp_dir.h"

namespace {

using serial::ComDevicePath;
using serial::ComMapEnv;
using serial::ComNumberOfDevice;
using sys_test::Symlink;

TEST(ComDevicePath, FolderEntriesFirstThenTheDefaultRuleUpToCom96) {
    std::set<std::string> entries{"/cfg/COM5", "/cfg/COM200", "/cfg/COM257"};
    ComMapEnv env{"/cfg", [&](const std::string& p) { return entries.count(p) != 0; }};
    // clang-format off
    const std::pair<int, const char*> cases[] = {
        {1, "/dev/ttyS0"},    {32, "/dev/ttyS31"},   {33, "/dev/ttyUSB0"}, {64, "/dev/ttyUSB31"},
        {65, "/dev/ttyACM0"}, {96, "/dev/ttyACM31"}, {97, ""},             {0, ""},
        {5, "/cfg/COM5"},     {200, "/cfg/COM200"},  {257, ""}};
    // clang-format on
    for (const auto& [com, path] : cases)
        EXPECT_EQ(ComDevicePath(com, env), path) << com;
    env.comportsDir = "";
    EXPECT_EQ(ComDevicePath(5, env), "/dev/ttyS4");
}

TEST(ComDevicePath, DanglingLinkKeepsItsNumber) {
    sys_test::TempDir dir;
    Symlink("/dev/serial/by-id/usb-unplugged-port0", dir.Sub("COM33"));
    ComMapEnv env{dir.path(), nullptr};  // the default existence check
    EXPECT_EQ(ComDevicePath(33, env), dir.Sub("COM33"));
    EXPECT_EQ(ComDevicePath(34, env), "/dev/ttyUSB1");
}

TEST(ComNumberOfDevice, FolderLinkFirstThenDefaultRule) {
    sys_test::TempDir dir;
    sys_test::WriteFile(dir.Sub("dev/pts7"), "");
    Symlink(dir.Sub("dev/pts7"), dir.Sub("comports/COM120"));
    Symlink("/dev/serial/by-id/other", dir.Sub("comports/COM34"));
    ComMapEnv env{dir.Sub("comports"), nullptr};
    // ttyUSB1 would be COM34, which the folder has given to another device.
    // clang-format off
    const std::pair<std::string, int> cases[] = {
        {dir.Sub("dev/pts7"), 120}, {dir.Sub("comports/COM120"), 120}, {"/dev/ttyS31", 32},
        {"/dev/ttyUSB0", 33},       {"/dev/ttyACM31", 96},             {"/dev/ttyUSB1", 0},
        {"/dev/ttyS32", 0},         {"/dev/ttyUSB01", 0},              {"/dev/pts/3", 0}};
    // clang-format on
    for (const auto& [device, com] : cases)
        EXPECT_EQ(ComNumberOfDevice(device, env), com) << device;
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
