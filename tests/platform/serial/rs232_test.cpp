// The in-process line on the virtual clock, and the COM ports of Rs232 over it.

#include "platform/serial/rs232.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/serial/inprocess_line.h"
#include "platform/serial/scripted_device.h"
#include "platform/serial/serial_error.h"
#include "tests/platform/sys/temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr serial::LineSettings k8N2{19200, serial::kParityNone, 8, 2};
constexpr double kChar = 11.0 / 19200.0;  // 0.573 ms
const Bytes kRequest{0x01, 0x03, 0x00, 0x10, 0x00, 0x06, 0xC5, 0xCD};
const Bytes kAnswer{0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8,
                    0xA9, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF, 0xB0};  // 17 bytes

// COM5 is a link in a real comports folder; the in-process line answers at the link's path.
class Line : public ::testing::Test {
  protected:
    Line() {
        sys_test::Symlink("/dev/serial/by-id/usb-FTDI_FT232R-if00-port0", com5);
        backend.Attach(com5, &device);
    }

    sys_test::TempDir dir;
    std::string com5 = dir.Sub("COM5");
    sys::VirtualClock clock;
    serial::InProcessBackend backend{clock};
    serial::ScriptedDevice device;
    serial::Rs232 rs{backend, serial::ComMapEnv{dir.path(), nullptr}};
    std::unique_ptr<serial::Port> port;
    Bytes got = Bytes(17, 0);
};

// Each answer character completes a character time after the last, the first one a character
// time after the turnaround that follows the request's last bit.
TEST_F(Line, WriteTakesTheWireTimeAndFlushDropsOnlyTheCharactersArrived) {
    ASSERT_EQ(backend.Open(com5, k8N2, &port), 0);
    device.Answer(kAnswer, 0.005);
    ASSERT_EQ(port->Write(kRequest.data(), 8), 8);
    const double end = clock.Now();
    clock.Advance(0.005 + 10.5 * kChar);  // ten characters complete, the eleventh on its way
    ASSERT_EQ(port->FlushInput(), 0);
    EXPECT_NEAR(clock.Now(), end + 0.005 + 10.5 * kChar, 1e-12);
    ASSERT_EQ(port->Read(got.data(), 7, 0.5), 7);  // returns as the last one is in
    EXPECT_EQ(Bytes(got.begin(), got.begin() + 7), Bytes(kAnswer.begin() + 10, kAnswer.end()));
    EXPECT_NEAR(clock.Now(), end + 0.005 + 17 * kChar, 1e-12);
    EXPECT_NEAR(end - device.requests[0].start, 0.0045833333, 1e-9);  // 8 x 11 bits at 19200
    // A parity bit lengthens every character.
    EXPECT_DOUBLE_EQ(serial::WireTime({9600, serial::kParityEven, 7, 1}, 3), 30.0 / 9600);
}

// A detached device is out of reach as one that vanished (see the Rs232 and fault tests).
TEST_F(Line, ADetachedDeviceGivesIoErrors) {
    ASSERT_EQ(backend.Open(com5, k8N2, &port), 0);
    backend.Detach(com5);
    EXPECT_EQ(port->Write(kRequest.data(), 8), serial::kErrIo);
    EXPECT_EQ(port->Read(got.data(), 8, 0.5), serial::kErrIo);
    EXPECT_EQ(port->FlushInput(), serial::kErrIo);
    EXPECT_TRUE(device.requests.empty());
}

// The time-out is ten seconds until set; an answer slower than it is left for FlushInQ to drop.
TEST_F(Line, Rs232ComNamesAndTheTimeOut) {
    for (const char* name : {"COM5", "com5", "\\\\.\\COM5"}) {
        ASSERT_EQ(rs.OpenComConfig(3, name, 9600, serial::kParityEven, 8, 1), 0) << name;
        EXPECT_EQ(rs.DevicePath(3), com5);
    }
    const double t0 = clock.Now();
    EXPECT_EQ(rs.ComRd(3, got.data(), 4), 0);
    EXPECT_DOUBLE_EQ(clock.Now() - t0, 10.0);
    EXPECT_EQ(rs.SetComTime(3, -1.0), serial::kErrArgument);
    ASSERT_EQ(rs.SetComTime(3, 0.005), 0);
    device.Answer(kAnswer, 0.020);
    rs.ComWrt(3, kRequest.data(), 8);
    EXPECT_EQ(rs.ComRd(3, got.data(), 9), 0);
    clock.Advance(0.1);
    EXPECT_EQ(rs.FlushInQ(3), 0);
    EXPECT_EQ(rs.ComRd(3, got.data(), 9), 0);
}

TEST_F(Line, Rs232OpensFailedOrRepeatedAndBadPortNumbers) {
    EXPECT_EQ(rs.OpenComConfig(1, "COM200", 9600, 0, 8, 1), serial::kErrNotMapped);
    EXPECT_NE(rs.LastErrorDetail().find("COM200"), std::string::npos);
    for (const char* name : {"COM0", "LPT1", ""})
        EXPECT_EQ(rs.OpenComConfig(1, name, 9600, 0, 8, 1), serial::kErrNotMapped) << name;
    // COM6 is /dev/ttyS5 by the default rule, which the in-process line does not have.
    EXPECT_EQ(rs.OpenComConfig(1, "COM6", 9600, 0, 8, 1), serial::kErrNoDevice);
    EXPECT_NE(rs.LastErrorDetail().find("/dev/ttyS5"), std::string::npos);
    EXPECT_EQ(rs.OpenComConfig(1, "COM5", 1200, 0, 8, 1), serial::kErrSettings);
    EXPECT_EQ(rs.OpenComConfig(1, "COM5", 1L << 40, 0, 8, 1), serial::kErrSettings);
    EXPECT_FALSE(rs.IsOpen(1));
    EXPECT_EQ(rs.DevicePath(1), "");
    // Port numbers run from 1 to 1000.
    EXPECT_EQ(rs.OpenComConfig(1001, "COM5", 9600, 0, 8, 1), serial::kErrBadPort);
    EXPECT_EQ(rs.ComRd(0, got.data(), 1), serial::kErrBadPort);
    EXPECT_EQ(rs.ComWrt(7, got.data(), 1), serial::kErrNotOpen);
    EXPECT_EQ(rs.OpenComConfig(1000, "COM5", 9600, 0, 8, 1), 0);
    EXPECT_EQ(rs.CloseCom(1000), 0);
    EXPECT_EQ(rs.CloseCom(1000), serial::kErrNotOpen);

    // Nothing of the COM folder is kept between opens: a link removed or made is followed at
    // once. A reopen closes first; a pulled adapter gives an I/O error.
    ASSERT_EQ(rs.OpenComConfig(1, "COM5", 9600, 0, 8, 1), 0);
    std::filesystem::remove(com5);
    EXPECT_EQ(rs.OpenComConfig(1, "COM5", 9600, 0, 8, 1), serial::kErrNoDevice);  // /dev/ttyS4
    sys_test::Symlink("/dev/serial/by-id/usb-FTDI_FT232R-if00-port0", com5);
    EXPECT_EQ(rs.OpenComConfig(1, "COM5", 9600, 0, 8, 1), 0);
    EXPECT_EQ(rs.DevicePath(1), com5);
    EXPECT_EQ(rs.OpenComConfig(2, "COM5", 9600, 0, 8, 1), serial::kErrBusy);
    EXPECT_EQ(rs.OpenComConfig(1, "COM5", 19200, 0, 8, 2), 0);
    rs.ComWrt(1, kRequest.data(), 8);
    EXPECT_EQ(device.requests.back().settings, (serial::LineSettings{19200, 0, 8, 2}));
    ASSERT_EQ(rs.CloseCom(1), 0);
    ASSERT_EQ(rs.OpenComConfig(2, com5, 9600, 0, 8, 1), 0);

    device.Vanish();
    EXPECT_EQ(rs.ComWrt(2, kRequest.data(), 8), 8);
    EXPECT_EQ(rs.ComRd(2, got.data(), 9), serial::kErrIo);
    EXPECT_NE(rs.LastErrorDetail().find(com5), std::string::npos);
    EXPECT_TRUE(rs.IsOpen(2));
}

// COM5.conf beside the link: read at every open of a COM name, its ignored lines said once.
TEST_F(Line, Rs232APortsConfFileIsReadAtEachOpenAndWhatItIgnoresIsNoted) {
    ASSERT_EQ(rs.OpenComConfig(1, "COM5", 9600, 0, 8, 1), 0);
    EXPECT_FALSE(rs.Config(1).echo);  // no file: the defaults, nothing to say
    EXPECT_TRUE(rs.ConfigNotes(1).empty());

    sys_test::WriteFile(dir.Sub("COM5.conf"),
                        "# adapter without echo suppression\r\n\n  echo = on \nspeed=fast\n"
                        "echo=yes\nnonsense\n");
    ASSERT_EQ(rs.OpenComConfig(1, "com5", 9600, 0, 8, 1), 0);
    EXPECT_TRUE(rs.Config(1).echo);  // the bad echo= line leaves the good one standing
    EXPECT_EQ(rs.ConfigNotes(1), (std::vector<std::string>{
                                     "COM5.conf line 4: unknown key \"speed\", ignored",
                                     "COM5.conf line 5: echo takes on or off, not \"yes\", ignored",
                                     "COM5.conf line 6: \"nonsense\" is no key=value, ignored"}));
    // Opened by its path the port has no COM number, so no settings; closed, none either.
    ASSERT_EQ(rs.OpenComConfig(2, "/dev/ttyS9", 9600, 0, 8, 1), serial::kErrNoDevice);
    EXPECT_FALSE(rs.Config(2).echo);
    ASSERT_EQ(rs.CloseCom(1), 0);
    EXPECT_FALSE(rs.Config(1).echo);
    ASSERT_EQ(rs.OpenComConfig(1, com5, 9600, 0, 8, 1), 0);
    EXPECT_FALSE(rs.Config(1).echo);

    sys_test::WriteFile(dir.Sub("COM5.conf"), "echo=off\n");
    ASSERT_EQ(rs.OpenComConfig(1, "COM5", 9600, 0, 8, 1), 0);
    EXPECT_FALSE(rs.Config(1).echo);
    EXPECT_TRUE(rs.ConfigNotes(1).empty());

    // A folder at the name is no settings file: said, and the defaults hold.
    std::filesystem::remove(dir.Sub("COM5.conf"));
    std::filesystem::create_directory(dir.Sub("COM5.conf"));
    ASSERT_EQ(rs.OpenComConfig(1, "COM5", 9600, 0, 8, 1), 0);
    EXPECT_FALSE(rs.Config(1).echo);
    EXPECT_EQ(rs.ConfigNotes(1),
              (std::vector<std::string>{"COM5.conf: not a regular file, its settings ignored"}));
    EXPECT_EQ(serial::ComConfigPath(5, serial::ComMapEnv{}), "");
    EXPECT_EQ(serial::ComConfigPath(257, serial::ComMapEnv{dir.path(), nullptr}), "");
}

}  // namespace
