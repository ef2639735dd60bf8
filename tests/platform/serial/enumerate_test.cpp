#include "platform/serial/enumerate.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace {

using serial_test::Symlink;
using serial_test::WriteFile;

// A sysfs tree shaped like the kernel's: class/tty/<name> links into devices/, each with a
// device link to the hardware below it.
class FakeSysfs {
  public:
    std::string root() const { return dir_.Sub("sys"); }
    // deviceDir relative to sys/devices; empty for a name with no hardware behind it.
    void AddTty(const std::string& name, const std::string& deviceDir, const std::string& type) {
        std::string node = root() + "/devices/" + (deviceDir.empty() ? "virtual" : deviceDir) +
                           "/tty/" + name;
        WriteFile(node + "/dev", "4:64\n");
        if (!type.empty()) WriteFile(node + "/type", type + "\n");
        if (!deviceDir.empty()) Symlink("../..", node + "/device");
        Symlink(node, root() + "/class/tty/" + name);
    }
    void AddUsbStrings(const std::string& usbDir, const std::string& manufacturer,
                       const std::string& product) {
        if (!manufacturer.empty())
            WriteFile(root() + "/devices/" + usbDir + "/manufacturer", manufacturer + "\n");
        if (!product.empty()) WriteFile(root() + "/devices/" + usbDir + "/product", product + "\n");
    }
    std::string Sub(const std::string& name) const { return dir_.Sub(name); }

  private:
    serial_test::TempDir dir_;
};

TEST(SysfsDeviceLister, NamesPresentPortsInComOrder) {
    FakeSysfs fs;
    const std::string usb = "pci0000:00/0000:00:14.0/usb1/1-2";
    const std::string acm = "pci0000:00/0000:00:14.0/usb1/1-3";
    fs.AddTty("ttyS0", "platform/serial8250/ttyS0", "4");
    fs.AddTty("ttyS1", "platform/serial8250/ttyS1", "0");  // no UART
    fs.AddTty("ttyS2", "", "4");                            // no device link
    fs.AddTty("ttyUSB1", usb + "/1-2:1.0/ttyUSB1", "");
    fs.AddUsbStrings(usb, "Prolific Technology Inc.", "USB-Serial Controller");
    fs.AddTty("ttyACM0", acm + "/1-3:1.0", "");
    fs.AddUsbStrings(acm, "", "Arduino Uno");
    fs.AddTty("ttyUSB40", usb + "/1-2:1.0/ttyUSB40", "");  // beyond the default rule
    fs.AddTty("tty0", "", "");
    fs.AddTty("ttyprintk", "virtual/misc", "");

    WriteFile(fs.Sub("by-id/rs485-bridge"), "");
    Symlink(fs.Sub("by-id/rs485-bridge"), fs.Sub("comports/COM120"));
    Symlink(fs.Sub("by-id/unplugged"), fs.Sub("comports/COM121"));

    serial::SysfsDeviceLister lister(serial::ComMapEnv{fs.Sub("comports"), nullptr}, fs.root());
    std::vector<serial::SerialDeviceInfo> devices = lister.Devices();
    ASSERT_EQ(devices.size(), 4u);
    EXPECT_EQ(devices[0].path, "/dev/ttyS0");
    EXPECT_EQ(devices[1].path, "/dev/ttyUSB1");
    EXPECT_EQ(devices[2].path, "/dev/ttyACM0");
    EXPECT_EQ(devices[3].path, fs.Sub("comports/COM120"));
    EXPECT_EQ(lister.FriendlyNames(),
              (std::vector<std::string>{
                  "Communications Port (COM1)",
                  "Prolific Technology Inc. USB-Serial Controller (COM34)",
                  "Arduino Uno (COM65)",
                  fs.Sub("by-id/rs485-bridge") + " (COM120)",
              }));
}

TEST(SysfsDeviceLister, FolderLinkTakesTheNumberOverTheDefaultRule) {
    FakeSysfs fs;
    fs.AddTty("ttyUSB0", "pci0000:00/usb1/1-1/1-1:1.0/ttyUSB0", "");
    WriteFile(fs.Sub("pts4"), "");
    Symlink(fs.Sub("pts4"), fs.Sub("comports/COM33"));

    serial::SysfsDeviceLister lister(serial::ComMapEnv{fs.Sub("comports"), nullptr}, fs.root());
    EXPECT_EQ(lister.FriendlyNames(), (std::vector<std::string>{fs.Sub("pts4") + " (COM33)"}));
}

TEST(SysfsDeviceLister, UsbPortWithoutStringsStillListed) {
    FakeSysfs fs;
    fs.AddTty("ttyUSB2", "pci0000:00/usb1/1-1/1-1:1.0/ttyUSB2", "");
    serial::SysfsDeviceLister lister(serial::ComMapEnv{"", nullptr}, fs.root());
    EXPECT_EQ(lister.FriendlyNames(), (std::vector<std::string>{"USB Serial Port (COM35)"}));
}

TEST(SysfsDeviceLister, MissingTreeGivesNothing) {
    serial::SysfsDeviceLister lister(serial::ComMapEnv{"", nullptr}, "/nonexistent/sys");
    EXPECT_TRUE(lister.Devices().empty());
}

}  // namespace
