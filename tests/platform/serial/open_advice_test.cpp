// The advice of an open from fake /proc and sysfs trees: who holds a device, what to do about
// it, and the FTDI latency timer behind a tty.

#include "platform/serial/open_advice.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>

#include "platform/serial/low_latency.h"
#include "tests/platform/sys/temp_dir.h"

namespace {

// A process of the fake /proc: its name and the targets of its open files.
void AddProcess(const sys_test::TempDir& proc, const std::string& pid, const std::string& comm,
                const std::vector<std::string>& files) {
    sys_test::WriteFile(proc.Sub(pid + "/comm"), comm + "\n");
    int fd = 0;
    for (const std::string& target : files)
        sys_test::Symlink(target, proc.Sub(pid + "/fd/" + std::to_string(fd++)));
}

TEST(OpenAdvice, HoldersFromProcNamedWithTheirRemedy) {
    sys_test::TempDir proc;
    AddProcess(proc, "812", "ModemManager", {"/dev/null", "/dev/ttyUSB0"});
    AddProcess(proc, "455", "brltty", {"/dev/ttyUSB0", "/dev/ttyUSB0"});
    AddProcess(proc, "2001", "minicom", {"/dev/ttyUSB1"});
    AddProcess(proc, "77", "bash", {"/dev/pts/3"});
    AddProcess(proc, "999", "Scan", {"/dev/ttyUSB0"});  // this program itself
    sys_test::WriteFile(proc.Sub("self/comm"), "Scan\n");
    sys_test::WriteFile(proc.Sub("sys/fs"), "");
    auto find = [&](const std::string& device) {
        return serial::FindPortHolders(proc.path(), device, 999);
    };

    EXPECT_EQ(serial::HolderNames(find("/dev/ttyUSB0").seen),
              "brltty (pid 455), ModemManager (pid 812)");
    EXPECT_EQ(serial::HolderNote("/dev/ttyUSB0", find("/dev/ttyUSB0"), true),
              "/dev/ttyUSB0 is in use by brltty (pid 455), ModemManager (pid 812): brltty takes "
              "over some USB serial chips for braille displays; without a braille display remove "
              "it (sudo apt remove brltty); ModemManager probes new serial ports for modems; the "
              "package's udev rule keeps it off known RS-485 adapters, or stop it (sudo "
              "systemctl stop ModemManager)");
    EXPECT_EQ(serial::HolderNote("/dev/ttyUSB1", find("/dev/ttyUSB1"), false),
              "/dev/ttyUSB1 is also open in minicom (pid 2001), which may take or garble the "
              "instrument's answers: close that program");
    // Nobody else, no note; a pseudo-terminal is never looked at, nor a link to one.
    EXPECT_EQ(serial::HolderNote("/dev/ttyS0", find("/dev/ttyS0"), true), "");
    EXPECT_TRUE(find("/dev/pts/3").seen.empty());
    sys_test::TempDir comports;
    sys_test::Symlink("/dev/pts/3", comports.Sub("COM9"));
    EXPECT_TRUE(find(comports.Sub("COM9")).seen.empty());
    // A missing /proc is no holder.
    EXPECT_TRUE(serial::FindPortHolders(proc.Sub("none"), "/dev/ttyUSB0", 999).seen.empty());

    // ModemManager runs as root: this user cannot see its files (no fd folder to read), so a
    // busy port names it as the likely holder; an open that went through names nobody.
    sys_test::TempDir hidden;
    sys_test::WriteFile(hidden.Sub("812/comm"), "ModemManager\n");
    sys_test::WriteFile(hidden.Sub("900/comm"), "cron\n");
    const serial::PortHolders guessed = serial::FindPortHolders(hidden.path(), "/dev/ttyUSB0", 1);
    EXPECT_EQ(serial::HolderNames(guessed.unseen), "ModemManager (pid 812)");
    EXPECT_EQ(serial::HolderNote("/dev/ttyUSB0", guessed, true),
              "/dev/ttyUSB0 is in use by another program; ModemManager (pid 812) runs and may hold "
              "it: ModemManager probes new serial ports for modems; the package's udev rule keeps "
              "it off known RS-485 adapters, or stop it (sudo systemctl stop ModemManager)");
    EXPECT_EQ(serial::HolderNote("/dev/ttyUSB0", guessed, false), "");
}

TEST(OpenAdvice, HoldersOfALinkedDeviceAndOfTheRealProc) {
    sys_test::TempDir dir;
    sys_test::WriteFile(dir.Sub("dev/ttyUSB4"), "");
    sys_test::Symlink(dir.Sub("dev/ttyUSB4"), dir.Sub("COM37"));
    sys_test::TempDir proc;
    AddProcess(proc, "812", "ModemManager", {dir.Sub("dev/ttyUSB4")});
    EXPECT_EQ(serial::HolderNames(serial::FindPortHolders(proc.path(), dir.Sub("COM37"), 1).seen),
              "ModemManager (pid 812)");
    // In the real /proc this process holds the file, and is left out as itself.
    std::ifstream held(dir.Sub("dev/ttyUSB4"));
    EXPECT_TRUE(serial::FindPortHolders("/proc", dir.Sub("dev/ttyUSB4"), getpid()).seen.empty());
    EXPECT_EQ(serial::FindPortHolders("/proc", dir.Sub("dev/ttyUSB4"), 0).seen.size(), 1u);
}

TEST(OpenAdvice, FtdiLatencyTimerFromSysfs) {
    sys_test::TempDir sysfs;
    sys_test::WriteFile(sysfs.Sub("devices/usb1/1-1:1.0/ttyUSB0/latency_timer"), "16\n");
    sys_test::Symlink(sysfs.Sub("devices/usb1/1-1:1.0/ttyUSB0"),
                      sysfs.Sub("class/tty/ttyUSB0/device"));
    sys_test::WriteFile(sysfs.Sub("class/tty/ttyUSB1/device/latency_timer"), "junk\n");
    sys_test::WriteFile(sysfs.Sub("class/tty/ttyUSB2/device/uevent"), "DRIVER=pl2303\n");
    EXPECT_EQ(serial::FtdiLatencyTimer(sysfs.path(), "/dev/ttyUSB0"), 16);
    EXPECT_EQ(serial::FtdiLatencyTimer(sysfs.path(), "/dev/ttyUSB1"), -1);
    EXPECT_EQ(serial::FtdiLatencyTimer(sysfs.path(), "/dev/ttyUSB2"), -1);  // not FTDI
    EXPECT_EQ(serial::FtdiLatencyTimer(sysfs.Sub("none"), "/dev/ttyUSB0"), -1);
    // A COM link is followed to the tty it names.
    sys_test::TempDir dev;
    sys_test::WriteFile(dev.Sub("ttyUSB0"), "");
    sys_test::Symlink(dev.Sub("ttyUSB0"), dev.Sub("COM33"));
    EXPECT_EQ(serial::FtdiLatencyTimer(sysfs.path(), dev.Sub("COM33")), 16);

    EXPECT_EQ(serial::LatencyNote("/dev/ttyUSB0", 16),
              "/dev/ttyUSB0: FTDI latency timer 16 ms delays every answer; the udev rule of the "
              "package (/usr/lib/udev/rules.d/60-rtu-configurator.rules) sets it to 1 ms: install "
              "the package, then unplug the adapter and plug it in again");
    EXPECT_EQ(serial::LatencyNote(dev.Sub("COM33"), 2).rfind(dev.Sub("ttyUSB0") + ": FTDI", 0), 0u);
    EXPECT_EQ(serial::LatencyNote("/dev/ttyUSB0", 1), "");
    EXPECT_EQ(serial::LatencyNote("/dev/ttyUSB0", -1), "");
}

}  // namespace
