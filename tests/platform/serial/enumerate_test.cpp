#include "platform/serial/enumerate.h"

#include <gtest/gtest.h>

#include <iostream>

#include "platform/serial/usb_ids.h"
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
    // Network ports have no file behind them and are listed under their URL.
    Symlink("rfc2217://10.0.0.5:4001", fs.Sub("comports/COM20"));
    Symlink("tcp://[::1]:4002", fs.Sub("comports/COM122"));
    Symlink("ftp://10.0.0.5:21", fs.Sub("comports/COM123"));  // no port of ours: dangling

    serial::SysfsDeviceLister lister(serial::ComMapEnv{fs.Sub("comports"), nullptr}, fs.root());
    EXPECT_EQ(lister.FriendlyNames(),
              (Names{"Communications Port (COM1)", "rfc2217://10.0.0.5:4001 (COM20)",
                     fs.Sub("pts4") + " (COM33)",
                     "Prolific Technology Inc. USB-Serial Controller (COM34)",
                     "USB Serial Port (COM35)", "Arduino Uno (COM65)",
                     fs.Sub("by-id/rs485-bridge") + " (COM120)", "tcp://[::1]:4002 (COM122)"}));
    std::vector<serial::SerialDeviceInfo> devices = lister.Devices();
    ASSERT_EQ(devices.size(), 8u);
    EXPECT_EQ(devices[1].path, fs.Sub("comports/COM20"));
    EXPECT_EQ(devices[2].path, fs.Sub("comports/COM33"));
    EXPECT_EQ(devices[3].path, "/dev/ttyUSB1");
    EXPECT_EQ(devices[6].path, fs.Sub("comports/COM120"));

    serial::SysfsDeviceLister missing(serial::ComMapEnv{"", nullptr}, fs.Sub("no-sys"));
    EXPECT_TRUE(missing.Devices().empty());
}

// What a device manager shows: the folder's links by number under their targets (a link to
// a system port under the port's name), the system's ports by COM number, then the rest.
TEST(SysfsDeviceLister, PresentDevicesInDeviceManagerOrder) {
    FakeSysfs fs;
    const std::string hub = "pci0000:00/0000:00:14.0/usb1";
    WriteFile(fs.Sub("usb.ids"),
              "# comment\n067b  Prolific Technology, Inc.\n\t2303  PL2303 Serial Port\n"
              "\t\t00  interface line\n1d6b  Linux Foundation\n\t0002  2.0 root hub\n"
              "C 00  (Defined at Interface level)\n");
    fs.AddTty("ttyS0", "platform/serial8250/ttyS0", "4");
    fs.AddTty("ttyS1", "platform/serial8250/ttyS1", "0");  // absent: not listed at all
    fs.AddTty("ttyUSB1", hub + "/1-2/1-2:1.0/ttyUSB1", "");
    fs.AddUsb(hub + "/1-2", "FTDI", "FT232R USB UART");
    WriteFile(fs.root() + "/devices/" + hub + "/1-2/idVendor", "0403\n");
    // No name strings: the id database names it.
    fs.AddTty("ttyUSB2", hub + "/1-3/1-3:1.0/ttyUSB2", "");
    WriteFile(fs.root() + "/devices/" + hub + "/1-3/idVendor", "067b\n");
    WriteFile(fs.root() + "/devices/" + hub + "/1-3/idProduct", "2303\n");
    WriteFile(fs.root() + "/devices/" + hub + "/idVendor", "1d6b\n");
    WriteFile(fs.root() + "/devices/" + hub + "/idProduct", "0002\n");
    Symlink(fs.root() + "/devices/" + hub, fs.root() + "/bus/usb/devices/usb1");
    Symlink(fs.root() + "/devices/" + hub + "/1-2", fs.root() + "/bus/usb/devices/1-2");
    Symlink(fs.root() + "/devices/" + hub + "/1-3", fs.root() + "/bus/usb/devices/1-3");
    Symlink(fs.root() + "/devices/" + hub + "/1-2/1-2:1.0",
            fs.root() + "/bus/usb/devices/1-2:1.0");  // an interface: no device of its own
    WriteFile(fs.Sub("pts/3"), "");
    Symlink(fs.Sub("pts/3"), fs.Sub("comports/COM9"));
    WriteFile(fs.Sub("pts/0"), "");
    Symlink(fs.Sub("pts/0"), fs.Sub("comports/COM2"));
    Symlink("rfc2217://10.0.0.5:4001", fs.Sub("comports/COM20"));

    serial::SysfsDeviceLister lister(serial::ComMapEnv{fs.Sub("comports"), nullptr}, fs.root(),
                                     fs.Sub("usb.ids"));
    EXPECT_EQ(
        lister.PresentDeviceNames(),
        (Names{fs.Sub("pts/0") + " (COM2)", fs.Sub("pts/3") + " (COM9)",
               "rfc2217://10.0.0.5:4001 (COM20)", "Communications Port (COM1)",
               "FTDI FT232R USB UART (COM34)",
               "Prolific Technology, Inc. PL2303 Serial Port (COM35)", "FTDI FT232R USB UART",
               "Prolific Technology, Inc. PL2303 Serial Port", "Linux Foundation 2.0 root hub"}));

    serial::SysfsDeviceLister empty(serial::ComMapEnv{"", nullptr}, fs.Sub("no-sys"));
    EXPECT_TRUE(empty.PresentDeviceNames().empty());
}

TEST(UsbIds, NamesVendorAndProduct) {
    sys_test::TempDir dir;
    WriteFile(dir.Sub("usb.ids"),
              "067b  Prolific Technology, Inc.\n\t2303  PL2303 Serial Port\n"
              "0403  Future Technology Devices International, Ltd\n");
    EXPECT_EQ(serial::UsbIdName(dir.Sub("usb.ids"), "067B", "2303"),
              "Prolific Technology, Inc. PL2303 Serial Port");
    EXPECT_EQ(serial::UsbIdName(dir.Sub("usb.ids"), "0403", "6001"),
              "Future Technology Devices International, Ltd");
    EXPECT_EQ(serial::UsbIdName(dir.Sub("usb.ids"), "ffff", "0001"), "");
    EXPECT_EQ(serial::UsbIdName(dir.Sub("missing.ids"), "067b", "2303"), "");
}

// This machine's own devices, whatever it has: every line is a name, and the ones with a COM
// designation come first. Nothing is opened.
TEST(SysfsDeviceLister, ListsThisMachine) {
    serial::SysfsDeviceLister lister(serial::SystemComMapEnv());
    std::vector<std::string> names = lister.PresentDeviceNames();
    bool pastPorts = false;
    for (const std::string& name : names) {
        std::cout << "device: " << name << "\n";
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(name.find('\n'), std::string::npos);
        const bool port = name.find(" (COM") != std::string::npos && name.back() == ')';
        if (!port) pastPorts = true;
        EXPECT_FALSE(port && pastPorts) << name;
    }
}

}  // namespace
