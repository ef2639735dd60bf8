#include "platform/serial/com_map.h"

#include <stdlib.h>

#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "temp_dir.h"

namespace {

using serial::ComDevicePath;
using serial::ComMapEnv;
using serial::ComNumberOfDevice;

// A folder holding exactly the given entries, without touching the file system.
ComMapEnv FakeFolder(std::set<std::string> entries) {
    return ComMapEnv{"/cfg/comports",
                     [entries](const std::string& p) { return entries.count(p) != 0; }};
}

TEST(ComDevicePath, DefaultRuleAtEveryRangeEdge) {
    ComMapEnv env = FakeFolder({});
    EXPECT_EQ(ComDevicePath(1, env), "/dev/ttyS0");
    EXPECT_EQ(ComDevicePath(32, env), "/dev/ttyS31");
    EXPECT_EQ(ComDevicePath(33, env), "/dev/ttyUSB0");
    EXPECT_EQ(ComDevicePath(64, env), "/dev/ttyUSB31");
    EXPECT_EQ(ComDevicePath(65, env), "/dev/ttyACM0");
    EXPECT_EQ(ComDevicePath(96, env), "/dev/ttyACM31");
    EXPECT_EQ(ComDevicePath(97, env), "");
    EXPECT_EQ(ComDevicePath(256, env), "");
    EXPECT_EQ(ComDevicePath(0, env), "");
    EXPECT_EQ(ComDevicePath(-3, env), "");
}

TEST(ComDevicePath, FolderEntryWinsAndReachesBeyondTheDefaults) {
    ComMapEnv env = FakeFolder({"/cfg/comports/COM5", "/cfg/comports/COM200",
                                "/cfg/comports/COM257"});
    EXPECT_EQ(ComDevicePath(5, env), "/cfg/comports/COM5");
    EXPECT_EQ(ComDevicePath(6, env), "/dev/ttyS5");
    EXPECT_EQ(ComDevicePath(200, env), "/cfg/comports/COM200");
    EXPECT_EQ(ComDevicePath(257, env), "");
    env.comportsDir = "";
    EXPECT_EQ(ComDevicePath(5, env), "/dev/ttyS4");
}

TEST(ComDevicePath, DanglingLinkKeepsItsNumber) {
    serial_test::TempDir dir;
    serial_test::Symlink("/dev/serial/by-id/usb-unplugged-port0", dir.Sub("COM33"));
    ComMapEnv env{dir.path(), nullptr};  // default existence check
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
    EXPECT_EQ(ComNumberOfDevice("/dev/ttyS0", env), 1);
    EXPECT_EQ(ComNumberOfDevice("/dev/ttyS31", env), 32);
    EXPECT_EQ(ComNumberOfDevice("/dev/ttyUSB0", env), 33);
    EXPECT_EQ(ComNumberOfDevice("/dev/ttyACM31", env), 96);
    // COM34 belongs to the folder's link, so ttyUSB1 has no number.
    EXPECT_EQ(ComNumberOfDevice("/dev/ttyUSB1", env), 0);
    EXPECT_EQ(ComNumberOfDevice("/dev/ttyS32", env), 0);
    EXPECT_EQ(ComNumberOfDevice("/dev/ttyUSB01", env), 0);
    EXPECT_EQ(ComNumberOfDevice("/dev/ttyUSBx", env), 0);
    EXPECT_EQ(ComNumberOfDevice("/dev/pts/3", env), 0);
}

// Sets or clears an environment variable for one test.
class EnvVar {
  public:
    EnvVar(const char* name, const char* value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~EnvVar() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(DefaultComportsDir, ExplicitThenXdgThenHome) {
    EnvVar home("HOME", "/home/tech");
    {
        EnvVar dir("COMPORTS_DIR", "/etc/suite/comports");
        EnvVar xdg("XDG_CONFIG_HOME", "/home/tech/.cfg");
        EXPECT_EQ(serial::DefaultComportsDir(), "/etc/suite/comports");
    }
    {
        EnvVar dir("COMPORTS_DIR", nullptr);
        EnvVar xdg("XDG_CONFIG_HOME", "/home/tech/.cfg");
        EXPECT_EQ(serial::DefaultComportsDir(), "/home/tech/.cfg/comports");
    }
    EnvVar dir("COMPORTS_DIR", nullptr);
    EnvVar xdg("XDG_CONFIG_HOME", "");
    EXPECT_EQ(serial::DefaultComportsDir(), "/home/tech/.config/comports");
}

}  // namespace
