// What the system's files say about serial ports, from trees of the test's own: the COM folder
// and its default rule, the ports and devices in a fake sysfs, who holds a device in a fake
// /proc, the FTDI latency timer, and the device and COM folders watched for changes.

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "platform/serial/com_map.h"
#include "platform/serial/enumerate.h"
#include "platform/serial/low_latency.h"
#include "platform/serial/open_advice.h"
#include "platform/serial/port_watch.h"
#include "platform/serial/usb_ids.h"
#include "tests/platform/sys/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using serial::ComDevicePath;
using serial::ComMapEnv;
using sys_test::Symlink;
using sys_test::WriteFile;

TEST(ComMap, FolderEntriesFirstThenTheDefaultRuleUpToCom96AndTheDefaultFolder) {
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

    // The other way, and a dangling link (an unplugged adapter) keeps its number.
    sys_test::TempDir dir;
    WriteFile(dir.Sub("dev/pts7"), "");
    Symlink(dir.Sub("dev/pts7"), dir.Sub("comports/COM120"));
    Symlink("/dev/serial/by-id/other", dir.Sub("comports/COM34"));
    ComMapEnv folder{dir.Sub("comports"), nullptr};  // the default existence check
    EXPECT_EQ(ComDevicePath(34, folder), dir.Sub("comports/COM34"));
    EXPECT_EQ(ComDevicePath(35, folder), "/dev/ttyUSB2");
    // ttyUSB1 would be COM34, which the folder has given to another device.
    // clang-format off
    const std::pair<std::string, int> devices[] = {
        {dir.Sub("dev/pts7"), 120}, {dir.Sub("comports/COM120"), 120}, {"/dev/ttyS31", 32},
        {"/dev/ttyUSB0", 33},       {"/dev/ttyACM31", 96},             {"/dev/ttyUSB1", 0},
        {"/dev/ttyS32", 0},         {"/dev/ttyUSB01", 0},              {"/dev/pts/3", 0}};
    // clang-format on
    for (const auto& [device, com] : devices)
        EXPECT_EQ(serial::ComNumberOfDevice(device, folder), com) << device;

    // The folder by default. Changes the process environment: leaves the three variables as
    // this test set them.
    setenv("HOME", "/home/tech", 1);
    setenv("XDG_CONFIG_HOME", "/home/tech/.cfg", 1);
    setenv("COMPORTS_DIR", "/etc/comports", 1);
    EXPECT_EQ(serial::DefaultComportsDir(), "/etc/comports");
    unsetenv("COMPORTS_DIR");
    EXPECT_EQ(serial::DefaultComportsDir(), "/home/tech/.cfg/comports");
    setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(serial::DefaultComportsDir(), "/home/tech/.config/comports");
}

// The ports in COM order for the selection lists; and what a device manager shows: the
// folder's links by number under their targets (a link to a system port under the port's
// name), the system's ports by COM number, then the rest.
TEST(SysfsDeviceLister, PortsInComOrderDevicesInDeviceManagerOrder) {
    sys_test::TempDir fs;
    const std::string sys = fs.Sub("sys");
    // Shaped like the kernel's tree: class/tty/<name> links to devices/.../tty/<name>, whose
    // device link points two levels up at the hardware (relative to sys/devices; empty for a
    // name with nothing behind it).
    auto addTty = [&](const std::string& name, const std::string& hardware, const char* type) {
        std::string node =
            sys + "/devices/" + (hardware.empty() ? "virtual" : hardware) + "/tty/" + name;
        WriteFile(node + "/dev", "4:64\n");
        if (*type != 0) WriteFile(node + "/type", type + std::string("\n"));
        if (!hardware.empty()) Symlink("../..", node + "/device");
        Symlink(node, sys + "/class/tty/" + name);
    };
    const std::string usb = "pci0000:00/0000:00:14.0/usb1";
    const std::string hub = sys + "/devices/" + usb;
    const std::string ids = fs.Sub("usb.ids");
    WriteFile(ids,
              "# comment\n067b  Prolific Technology, Inc.\n\t2303  PL2303 Serial Port\n"
              "\t\t00  interface line\n1d6b  Linux Foundation\n\t0002  2.0 root hub\n"
              "C 00  (Defined at Interface level)\n");
    addTty("ttyS0", "platform/serial8250/ttyS0", "4");
    addTty("ttyS1", "platform/serial8250/ttyS1", "0");  // no UART
    addTty("ttyS2", "", "4");                           // no device link
    // The folder gives COM33 to a pseudo-terminal, over ttyUSB0's claim by the default rule.
    addTty("ttyUSB0", "pci0000:00/usb9/9-1/9-1:1.0/ttyUSB0", "");
    WriteFile(fs.Sub("pts4"), "");
    Symlink(fs.Sub("pts4"), fs.Sub("comports/COM33"));
    addTty("ttyUSB1", usb + "/1-2/1-2:1.0/ttyUSB1", "");
    WriteFile(hub + "/1-2/manufacturer", "FTDI\n");
    WriteFile(hub + "/1-2/product", "FT232R USB UART\n");
    WriteFile(hub + "/1-2/idVendor", "0403\n");
    // No name strings: the id database names it, or nothing does.
    addTty("ttyUSB2", usb + "/1-3/1-3:1.0/ttyUSB2", "");
    WriteFile(hub + "/1-3/idVendor", "067b\n");
    WriteFile(hub + "/1-3/idProduct", "2303\n");
    addTty("ttyUSB3", "pci0000:00/usb9/9-4/9-4:1.0/ttyUSB3", "");
    addTty("ttyACM0", "pci0000:00/usb9/9-3/9-3:1.0", "");
    WriteFile(sys + "/devices/pci0000:00/usb9/9-3/product", "Arduino Uno\n");
    addTty("ttyUSB40", "pci0000:00/usb9/9-4/9-4:1.0/ttyUSB40", "");  // no COM number either
    addTty("ttyprintk", "virtual/misc", "");
    WriteFile(hub + "/idVendor", "1d6b\n");
    WriteFile(hub + "/idProduct", "0002\n");
    Symlink(hub, sys + "/bus/usb/devices/usb1");
    for (const char* name : {"1-2", "1-3", "1-2/1-2:1.0"})  // an interface: no device of its own
        Symlink(hub + "/" + name, sys + "/bus/usb/devices/" + fs::path(name).filename().string());
    WriteFile(fs.Sub("pts/3"), "");
    Symlink(fs.Sub("pts/3"), fs.Sub("comports/COM9"));
    WriteFile(fs.Sub("by-id/rs485-bridge"), "");
    Symlink(fs.Sub("by-id/rs485-bridge"), fs.Sub("comports/COM120"));
    Symlink(fs.Sub("by-id/unplugged"), fs.Sub("comports/COM121"));
    // Network ports have no file behind them and are listed under their URL.
    Symlink("rfc2217://10.0.0.5:4001", fs.Sub("comports/COM20"));
    Symlink("tcp://[::1]:4002", fs.Sub("comports/COM122"));
    Symlink("ftp://10.0.0.5:21", fs.Sub("comports/COM123"));  // no port of ours: dangling

    serial::SysfsDeviceLister lister(ComMapEnv{fs.Sub("comports"), nullptr}, sys, ids);
    EXPECT_EQ(lister.FriendlyNames(),
              (Names{"Communications Port (COM1)", fs.Sub("pts/3") + " (COM9)",
                     "rfc2217://10.0.0.5:4001 (COM20)", fs.Sub("pts4") + " (COM33)",
                     "FTDI FT232R USB UART (COM34)",
                     "Prolific Technology, Inc. PL2303 Serial Port (COM35)",
                     "USB Serial Port (COM36)", "Arduino Uno (COM65)",
                     fs.Sub("by-id/rs485-bridge") + " (COM120)", "tcp://[::1]:4002 (COM122)"}));
    Names paths;
    for (const serial::SerialDeviceInfo& d : lister.Devices())
        paths.push_back(d.path);
    EXPECT_EQ(paths,
              (Names{"/dev/ttyS0", fs.Sub("comports/COM9"), fs.Sub("comports/COM20"),
                     fs.Sub("comports/COM33"), "/dev/ttyUSB1", "/dev/ttyUSB2", "/dev/ttyUSB3",
                     "/dev/ttyACM0", fs.Sub("comports/COM120"), fs.Sub("comports/COM122")}));
    EXPECT_EQ(
        lister.PresentDeviceNames(),
        (Names{fs.Sub("pts/3") + " (COM9)", "rfc2217://10.0.0.5:4001 (COM20)",
               fs.Sub("pts4") + " (COM33)", fs.Sub("by-id/rs485-bridge") + " (COM120)",
               "tcp://[::1]:4002 (COM122)", "Communications Port (COM1)",
               "FTDI FT232R USB UART (COM34)",
               "Prolific Technology, Inc. PL2303 Serial Port (COM35)", "USB Serial Port (COM36)",
               "Arduino Uno (COM65)", "USB Serial Port", "USB Serial Port", "FTDI FT232R USB UART",
               "Prolific Technology, Inc. PL2303 Serial Port", "Linux Foundation 2.0 root hub"}));
    serial::SysfsDeviceLister missing(ComMapEnv{"", nullptr}, fs.Sub("no-sys"));
    EXPECT_TRUE(missing.Devices().empty());
    EXPECT_TRUE(missing.PresentDeviceNames().empty());

    // The database by itself: ids in any case, the vendor alone for an unlisted product.
    EXPECT_EQ(serial::UsbIdName(ids, "067B", "2303"),
              "Prolific Technology, Inc. PL2303 Serial Port");
    EXPECT_EQ(serial::UsbIdName(ids, "1d6b", "6001"), "Linux Foundation");
    EXPECT_EQ(serial::UsbIdName(ids, "ffff", "0001"), "");
    EXPECT_EQ(serial::UsbIdName(fs.Sub("missing.ids"), "067b", "2303"), "");
}

// A process of the fake /proc: its name and the targets of its open files.
void AddProcess(const sys_test::TempDir& proc, const std::string& pid, const std::string& comm,
                const std::vector<std::string>& files) {
    WriteFile(proc.Sub(pid + "/comm"), comm + "\n");
    int fd = 0;
    for (const std::string& target : files)
        Symlink(target, proc.Sub(pid + "/fd/" + std::to_string(fd++)));
}

TEST(OpenAdvice, HoldersFromProcAndTheFtdiLatencyTimerWithTheirRemedies) {
    sys_test::TempDir dev;
    WriteFile(dev.Sub("ttyUSB4"), "");
    Symlink(dev.Sub("ttyUSB4"), dev.Sub("COM37"));
    Symlink("/dev/pts/3", dev.Sub("COM9"));
    sys_test::TempDir proc;
    AddProcess(proc, "812", "ModemManager", {"/dev/null", "/dev/ttyUSB0", dev.Sub("ttyUSB4")});
    AddProcess(proc, "455", "brltty", {"/dev/ttyUSB0", "/dev/ttyUSB0"});
    AddProcess(proc, "2001", "minicom", {"/dev/ttyUSB1"});
    AddProcess(proc, "77", "bash", {"/dev/pts/3"});
    AddProcess(proc, "999", "Scan", {"/dev/ttyUSB0"});  // this program itself
    WriteFile(proc.Sub("self/comm"), "Scan\n");
    WriteFile(proc.Sub("sys/fs"), "");
    auto find = [&](const std::string& device) {
        return serial::FindPortHolders(proc.path(), device, 999);
    };

    EXPECT_EQ(serial::HolderNote("/dev/ttyUSB0", find("/dev/ttyUSB0"), true),
              "/dev/ttyUSB0 is in use by brltty (pid 455), ModemManager (pid 812): brltty takes "
              "over some USB serial chips for braille displays; without a braille display remove "
              "it (sudo apt remove brltty); ModemManager probes new serial ports for modems; the "
              "package's udev rule keeps it off known RS-485 adapters, or stop it (sudo "
              "systemctl stop ModemManager)");
    EXPECT_EQ(serial::HolderNote("/dev/ttyUSB1", find("/dev/ttyUSB1"), false),
              "/dev/ttyUSB1 is also open in minicom (pid 2001), which may take or garble the "
              "instrument's answers: close that program");
    // A link is followed to the device it names.
    EXPECT_EQ(serial::HolderNames(find(dev.Sub("COM37")).seen), "ModemManager (pid 812)");
    // Nobody else, no note; a pseudo-terminal is never looked at, nor a link to one.
    EXPECT_EQ(serial::HolderNote("/dev/ttyS0", find("/dev/ttyS0"), true), "");
    EXPECT_TRUE(find("/dev/pts/3").seen.empty());
    EXPECT_TRUE(find(dev.Sub("COM9")).seen.empty());
    // A missing /proc is no holder.
    EXPECT_TRUE(serial::FindPortHolders(proc.Sub("none"), "/dev/ttyUSB0", 999).seen.empty());
    // In the real /proc this process holds the file, and is left out as itself.
    std::ifstream held(dev.Sub("ttyUSB4"));
    EXPECT_TRUE(serial::FindPortHolders("/proc", dev.Sub("ttyUSB4"), getpid()).seen.empty());
    EXPECT_EQ(serial::FindPortHolders("/proc", dev.Sub("ttyUSB4"), 0).seen.size(), 1u);

    // ModemManager runs as root: this user cannot see its files (no fd folder to read), so a
    // busy port names it as the likely holder; an open that went through names nobody.
    sys_test::TempDir hidden;
    WriteFile(hidden.Sub("812/comm"), "ModemManager\n");
    WriteFile(hidden.Sub("900/comm"), "cron\n");
    const serial::PortHolders guessed = serial::FindPortHolders(hidden.path(), "/dev/ttyUSB0", 1);
    EXPECT_EQ(serial::HolderNames(guessed.unseen), "ModemManager (pid 812)");
    EXPECT_EQ(serial::HolderNote("/dev/ttyUSB0", guessed, true),
              "/dev/ttyUSB0 is in use by another program; ModemManager (pid 812) runs and may hold "
              "it: ModemManager probes new serial ports for modems; the package's udev rule keeps "
              "it off known RS-485 adapters, or stop it (sudo systemctl stop ModemManager)");
    EXPECT_EQ(serial::HolderNote("/dev/ttyUSB0", guessed, false), "");

    // The FTDI latency timer behind a tty, and what to do about a slow one.
    sys_test::TempDir sysfs;
    WriteFile(sysfs.Sub("devices/usb1/1-1:1.0/ttyUSB0/latency_timer"), "16\n");
    Symlink(sysfs.Sub("devices/usb1/1-1:1.0/ttyUSB0"), sysfs.Sub("class/tty/ttyUSB0/device"));
    WriteFile(sysfs.Sub("class/tty/ttyUSB1/device/latency_timer"), "junk\n");
    WriteFile(sysfs.Sub("class/tty/ttyUSB2/device/uevent"), "DRIVER=pl2303\n");
    EXPECT_EQ(serial::FtdiLatencyTimer(sysfs.path(), "/dev/ttyUSB0"), 16);
    EXPECT_EQ(serial::FtdiLatencyTimer(sysfs.path(), "/dev/ttyUSB1"), -1);
    EXPECT_EQ(serial::FtdiLatencyTimer(sysfs.path(), "/dev/ttyUSB2"), -1);  // not FTDI
    EXPECT_EQ(serial::FtdiLatencyTimer(sysfs.Sub("none"), "/dev/ttyUSB0"), -1);
    // A COM link is followed to the tty it names.
    WriteFile(dev.Sub("ttyUSB0"), "");
    Symlink(dev.Sub("ttyUSB0"), dev.Sub("COM33"));
    EXPECT_EQ(serial::FtdiLatencyTimer(sysfs.path(), dev.Sub("COM33")), 16);

    EXPECT_EQ(serial::LatencyNote("/dev/ttyUSB0", 16),
              "/dev/ttyUSB0: FTDI latency timer 16 ms delays every answer; the udev rule of the "
              "package (/usr/lib/udev/rules.d/60-rtu-configurator.rules) sets it to 1 ms: install "
              "the package, then unplug the adapter and plug it in again");
    EXPECT_EQ(serial::LatencyNote(dev.Sub("COM33"), 2).rfind(dev.Sub("ttyUSB0") + ": FTDI", 0), 0u);
    EXPECT_EQ(serial::LatencyNote("/dev/ttyUSB0", 1), "");
    EXPECT_EQ(serial::LatencyNote("/dev/ttyUSB0", -1), "");
}

// inotify queues an event as the change is made, so each look sees what came before it
// without any wait.
TEST(PortWatch, TtysAndTheComFolderFromWhenItAppearsUntilItGoes) {
    sys_test::TempDir dir;
    const std::string dev = dir.Sub("dev");
    const std::string comDir = dir.Sub("comports");
    fs::create_directory(dev);
    serial::PortWatch watch(dev, comDir);
    EXPECT_EQ(watch.Problem(), "");
    EXPECT_FALSE(watch.Changed());
    WriteFile(dev + "/ttyUSB0", "");
    WriteFile(dev + "/ttyUSB1", "");
    EXPECT_TRUE(watch.Changed());  // the burst is one change
    EXPECT_FALSE(watch.Changed());
    WriteFile(dev + "/hidraw0", "");  // other devices are not seen
    fs::create_directory(dev + "/bus");
    EXPECT_FALSE(watch.Changed());
    fs::permissions(dev + "/ttyUSB0", fs::perms::owner_read);  // udev sets the group's rights
    EXPECT_TRUE(watch.Changed());
    fs::rename(dev + "/ttyUSB1", dev + "/ttyUSB2");
    EXPECT_TRUE(watch.Changed());
    fs::remove(dev + "/ttyUSB0");
    EXPECT_TRUE(watch.Changed());
    EXPECT_FALSE(watch.Changed());

    fs::create_directory(comDir);
    Symlink("/dev/pts/7", comDir + "/COM9");
    EXPECT_TRUE(watch.Changed());  // a folder made since: it may hold links already
    EXPECT_FALSE(watch.Changed());
    WriteFile(comDir + "/COM9.conf", "echo=on\n");
    EXPECT_TRUE(watch.Changed());
    fs::remove(comDir + "/COM9");
    EXPECT_TRUE(watch.Changed());
    fs::remove_all(comDir);
    EXPECT_TRUE(watch.Changed());
    EXPECT_FALSE(watch.Changed());
    fs::create_directory(comDir);  // and back
    EXPECT_TRUE(watch.Changed());
    Symlink("/dev/pts/8", comDir + "/COM10");
    EXPECT_TRUE(watch.Changed());

    serial::PortWatch missing(dir.Sub("nowhere"), "");
    EXPECT_NE(missing.Problem().find("nowhere: No such file or directory"), std::string::npos)
        << missing.Problem();
    EXPECT_FALSE(missing.Changed());
}

}  // namespace
