#include "platform/serial/enumerate.h"

#include <gtest/gtest.h>

#include "tests/platform/sys/temp_dir.h"

namespace {

using Names = std::vector<std::string>;
using sys_test::Symlink;
using sys_test::WriteFile;

// Shaped like the kernel's tree: class/tty/<name> links to devices/.../tty/<name>, whose
// device link points two levels up at the hardware.
class FakeSysfs {
  public:
    std::string Sub(const std::string& name) const { return dir_.Sub(name); }
    std::string root() const { return Sub("sys"); }
    // hardware is relative to sys/devices; empty for a name with nothing behind it.
    void AddTty(const std::string& name, const std::string& hardware, const std::string& type) {
        std::string node =
            root() + "/devices/" + (hardware.empty() ? "virtual" : hardware) + "/tty/" + name;
        WriteFile(node + "/dev", "4:64\n");
        if (!type.empty()) WriteFile(node + "/type", type + "\n");
        if (!hardware.empty()) Symlink("../..", node + "/device");
        Symlink(node, root() + "/class/tty/" + name);
    }
    void AddUsb(const std::string& dir, const std::string& maker, const std::string& product) {
        if (!maker.empty()) WriteFile(root() + "/devices/" + dir + "/manufacturer", maker + "\n");
        if (!product.empty()) WriteFile(root() + "/devices/" + dir + "/product", product + "\n");
    }

  private:
    sys_test::TempDir dir_;
};

TEST(SysfsDeviceLister, NamesPresentPortsInComOrder) {
    FakeSysfs fs;
    const std::string usb = "pci0000:00/0000:00:14.0/usb1/1-2";
    fs.AddTty("ttyS0", "platform/serial8250/ttyS0", "4");
    fs.AddTty("ttyS1", "platform/serial8250/ttyS1", "0");  // no UART
    fs.AddTty("ttyS2", "", "4");                           // no device link
    // The folder gives COM33 to a pseudo-terminal, over ttyUSB0's claim by the default rule.
    fs.AddTty("ttyUSB0", "pci0000:00/usb1/1-1/1-1:1.0/ttyUSB0", "");
    WriteFile(fs.Sub("pts4"), "");
    Symlink(fs.Sub("pts4"), fs.Sub("comports/COM33"));
    fs.AddTty("ttyUSB1", usb + "/1-2:1.0/ttyUSB1", "");
    fs.AddUsb(usb, "Prolific Technology Inc.", "USB-Serial Controller");
    fs.AddTty("ttyACM0", "pci0000:00/usb1/1-3/1-3:1.0", "");
    fs.AddUsb("pci0000:00/usb1/1-3", "", "Arduino Uno");
    fs.AddTty("ttyUSB2", "pci0000:00/usb1/1-4/1-4:1.0/ttyUSB2", "");  // no strings
    fs.AddTty("ttyUSB40", usb + "/1-2:1.0/ttyUSB40", "");             // no COM number
    fs.AddTty("ttyprintk", "virtual/misc", "");
    WriteFile(fs.Sub("by-id/rs485-bridge"), "");
    Symlink(fs.Sub("by-id/rs485-bridge"), fs.Sub("comports/COM120"));
    Symlink(fs.Sub("by-id/unplugged"), fs.Sub("comports/COM121"));

    serial::SysfsDeviceLister lister(serial::ComMapEnv{fs.Sub("comports"), nullptr}, fs.root());
    EXPECT_EQ(
        lister.FriendlyNames(),
        (Names{"Communications Port (COM1)", fs.Sub("pts4") + " (COM33)",
               "Prolific Technology Inc. USB-Serial Controller (COM34)", "USB Serial Port (COM35)",
               "Arduino Uno (COM65)", fs.Sub("by-id/rs485-bridge") + " (COM120)"}));
    std::vector<serial::SerialDeviceInfo> devices = lister.Devices();
    ASSERT_EQ(devices.size(), 6u);
    EXPECT_EQ(devices[1].path, fs.Sub("comports/COM33"));
    EXPECT_EQ(devices[2].path, "/dev/ttyUSB1");
    EXPECT_EQ(devices[5].path, fs.Sub("comports/COM120"));

    serial::SysfsDeviceLister missing(serial::ComMapEnv{"", nullptr}, fs.Sub("no-sys"));
    EXPECT_TRUE(missing.Devices().empty());
}

}  // namespace
