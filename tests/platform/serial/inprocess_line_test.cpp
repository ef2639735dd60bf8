#include "platform/serial/inprocess_line.h"

#include <gtest/gtest.h>

#include "platform/serial/scripted_device.h"
#include "platform/serial/serial_error.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr serial::LineSettings k8N2{19200, serial::kParityNone, 8, 2};
constexpr double kChar = 11.0 / 19200.0;  // 0.573 ms
const Bytes kRequest{0x01, 0x03, 0x00, 0x10, 0x00, 0x06, 0xC5, 0xCD};
const Bytes kAnswer{0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8,
                    0xA9, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF, 0xB0};  // 17 bytes

class InProcessLine : public ::testing::Test {
  protected:
    void SetUp() override {
        backend.Attach("/dev/ttyUSB0", &device);
        ASSERT_EQ(backend.Open("/dev/ttyUSB0", k8N2, &port), 0);
    }
    double SendRequest() {
        EXPECT_EQ(port->Write(kRequest.data(), 8), 8);
        return clock.Now();
    }

    sys::VirtualClock clock;
    serial::InProcessBackend backend{clock};
    serial::ScriptedDevice device;
    std::unique_ptr<serial::Port> port;
    Bytes got = Bytes(17, 0);
};

TEST_F(InProcessLine, WriteTakesTheWireTimeAndReachesTheDevice) {
    clock.Advance(1.0);
    double end = SendRequest();
    EXPECT_NEAR(end - 1.0, 0.0045833333, 1e-9);  // 8 x 11 bits at 19200 baud
    ASSERT_EQ(device.requests.size(), 1u);
    EXPECT_EQ(device.requests[0].bytes, kRequest);
    EXPECT_EQ(device.requests[0].settings, k8N2);
    EXPECT_DOUBLE_EQ(device.requests[0].start, 1.0);
    EXPECT_NEAR(device.requests[0].end, end, 1e-12);
    // A parity bit lengthens every character.
    EXPECT_DOUBLE_EQ(serial::WireTime({9600, serial::kParityEven, 7, 1}, 3), 30.0 / 9600);
}

// 3 ms after the turnaround five characters (5 x 0.573 ms) are complete; each further one
// takes a character time.
TEST_F(InProcessLine, ReadTakesWhatHasArrivedByTheDeadlineAndWaitsCharacterByCharacter) {
    device.Answer(kAnswer, 0.005);
    double end = SendRequest();
    EXPECT_EQ(port->Read(got.data(), 17, 0.008), 5);
    EXPECT_NEAR(clock.Now(), end + 0.008, 1e-12);
    ASSERT_EQ(port->Read(got.data() + 5, 1, 0.5), 1);
    EXPECT_NEAR(clock.Now(), end + 0.005 + 6 * kChar, 1e-12);
    ASSERT_EQ(port->Read(got.data() + 6, 11, 0.5), 11);
    EXPECT_NEAR(clock.Now(), end + 0.005 + 17 * kChar, 1e-12);
    EXPECT_EQ(got, kAnswer);
}

TEST_F(InProcessLine, SilenceAndPartialAnswersTimeOutAtTheDeadlineAndFlushDropsOnlyArrived) {
    device.StaySilent();
    device.AnswerPart({1, 2, 3, 4, 5, 6, 7, 8}, 3, 0.002);
    device.Answer(kAnswer, 0.005);
    double end = SendRequest();
    EXPECT_EQ(port->Read(got.data(), 8, 0.5), 0);
    EXPECT_DOUBLE_EQ(clock.Now(), end + 0.5);

    end = SendRequest();
    EXPECT_EQ(port->Read(got.data(), 8, 0.5), 3);
    EXPECT_EQ(Bytes(got.begin(), got.begin() + 4), (Bytes{1, 2, 3, 0}));
    EXPECT_DOUBLE_EQ(clock.Now(), end + 0.5);

    end = SendRequest();
    clock.Advance(0.005 + 10.5 * kChar);  // ten characters complete, the eleventh on its way
    ASSERT_EQ(port->FlushInput(), 0);
    EXPECT_NEAR(clock.Now(), end + 0.005 + 10.5 * kChar, 1e-12);
    ASSERT_EQ(port->Read(got.data(), 17, 0.5), 7);
    EXPECT_EQ(Bytes(got.begin(), got.begin() + 7), Bytes(kAnswer.begin() + 10, kAnswer.end()));
}

TEST_F(InProcessLine, OpenFailuresAndAVanishedOrDetachedDevice) {
    std::unique_ptr<serial::Port> second;
    EXPECT_EQ(backend.Open("/dev/ttyUSB0", k8N2, &second), serial::kErrBusy);
    EXPECT_EQ(second, nullptr);
    port.reset();  // closing frees the line
    EXPECT_EQ(backend.Open("/dev/ttyUSB0", {12345, 0, 8, 1}, &port), serial::kErrSettings);
    EXPECT_EQ(backend.Open("/dev/ttyUSB9", k8N2, &port), serial::kErrNoDevice);
    ASSERT_EQ(backend.Open("/dev/ttyUSB0", k8N2, &port), 0);

    device.Vanish();
    SendRequest();
    EXPECT_EQ(port->Read(got.data(), 8, 0.5), serial::kErrIo);
    EXPECT_EQ(port->Write(kRequest.data(), 8), serial::kErrIo);
    EXPECT_EQ(port->FlushInput(), serial::kErrIo);
    EXPECT_EQ(device.requests.size(), 1u);
    port.reset();
    EXPECT_EQ(backend.Open("/dev/ttyUSB0", k8N2, &port), serial::kErrNoDevice);

    serial::ScriptedDevice other;
    backend.Attach("/dev/ttyUSB1", &other);
    ASSERT_EQ(backend.Open("/dev/ttyUSB1", k8N2, &port), 0);
    backend.Detach("/dev/ttyUSB1");
    EXPECT_EQ(port->Write(kRequest.data(), 8), serial::kErrIo);
    EXPECT_TRUE(other.requests.empty());
}

}  // namespace
