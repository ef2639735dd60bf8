#include "platform/serial/inprocess_line.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/serial/scripted_device.h"
#include "platform/serial/serial_error.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr serial::LineSettings k8N2{19200, serial::kParityNone, 8, 2};
constexpr double kChar = 11.0 / 19200.0;  // 0.573 ms
const Bytes kRequest{0x01, 0x03, 0x00, 0x10, 0x00, 0x06, 0xC5, 0xCD};

Bytes Answer17() {
    Bytes b;
    for (int i = 0; i < 17; ++i) b.push_back(static_cast<std::uint8_t>(0xA0 + i));
    return b;
}

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
};

TEST_F(InProcessLine, WriteTakesTheWireTimeAndReachesTheDevice) {
    clock.Advance(1.0);
    double end = SendRequest();
    EXPECT_NEAR(end - 1.0, 0.0045833333, 1e-9);
    ASSERT_EQ(device.requests.size(), 1u);
    EXPECT_EQ(device.requests[0].bytes, kRequest);
    EXPECT_EQ(device.requests[0].settings, k8N2);
    EXPECT_DOUBLE_EQ(device.requests[0].start, 1.0);
    EXPECT_NEAR(device.requests[0].end, end, 1e-12);
}

TEST_F(InProcessLine, AnswerArrivesAfterTurnaroundPacedByCharacterTime) {
    device.Answer(Answer17(), 0.005);
    double end = SendRequest();

    Bytes got(17);
    ASSERT_EQ(port->Read(got.data(), 1, 0.5), 1);
    EXPECT_NEAR(clock.Now(), end + 0.005 + kChar, 1e-12);
    ASSERT_EQ(port->Read(got.data() + 1, 16, 0.5), 16);
    EXPECT_NEAR(clock.Now(), end + 0.005 + 17 * kChar, 1e-12);
    EXPECT_EQ(got, Answer17());
}

TEST_F(InProcessLine, ReadTakesOnlyWhatHasArrivedByTheDeadline) {
    device.Answer(Answer17(), 0.005);
    double end = SendRequest();

    Bytes got(17);
    // 3 ms after the turnaround, five characters (5 x 0.573 ms) are complete.
    EXPECT_EQ(port->Read(got.data(), 17, 0.008), 5);
    EXPECT_NEAR(clock.Now(), end + 0.008, 1e-12);
    EXPECT_EQ(port->Read(got.data() + 5, 12, 0.5), 12);
    EXPECT_EQ(got, Answer17());
}

TEST_F(InProcessLine, SilenceTimesOutExactlyAtTheDeadline) {
    device.StaySilent();
    double end = SendRequest();
    Bytes got(8);
    EXPECT_EQ(port->Read(got.data(), 8, 0.5), 0);
    EXPECT_DOUBLE_EQ(clock.Now(), end + 0.5);
}

TEST_F(InProcessLine, PartialAnswerThenTimeOut) {
    device.AnswerPart({1, 2, 3, 4, 5, 6, 7, 8}, 3, 0.002);
    double end = SendRequest();
    Bytes got(8, 0);
    EXPECT_EQ(port->Read(got.data(), 8, 0.5), 3);
    EXPECT_EQ(got, (Bytes{1, 2, 3, 0, 0, 0, 0, 0}));
    EXPECT_DOUBLE_EQ(clock.Now(), end + 0.5);
}

TEST_F(InProcessLine, FlushInputDropsOnlyBytesAlreadyArrived) {
    device.Answer(Answer17(), 0.005);
    double end = SendRequest();
    clock.Advance(0.005 + 10.5 * kChar);  // ten characters complete, the eleventh on its way
    ASSERT_EQ(port->FlushInput(), 0);
    EXPECT_NEAR(clock.Now(), end + 0.005 + 10.5 * kChar, 1e-12);
    Bytes got(17);
    ASSERT_EQ(port->Read(got.data(), 17, 0.5), 7);
    const Bytes answer = Answer17();
    EXPECT_EQ(Bytes(got.begin(), got.begin() + 7), Bytes(answer.begin() + 10, answer.end()));
}

TEST_F(InProcessLine, VanishedDeviceFailsReadsWritesAndNewOpens) {
    device.Vanish();
    SendRequest();
    Bytes got(8);
    EXPECT_EQ(port->Read(got.data(), 8, 0.5), serial::kErrIo);
    EXPECT_EQ(port->Write(kRequest.data(), 8), serial::kErrIo);
    EXPECT_EQ(port->FlushInput(), serial::kErrIo);
    port.reset();
    EXPECT_EQ(backend.Open("/dev/ttyUSB0", k8N2, &port), serial::kErrNoDevice);
}

TEST_F(InProcessLine, DetachedDeviceIsNeverTouchedAgain) {
    backend.Detach("/dev/ttyUSB0");
    EXPECT_EQ(port->Write(kRequest.data(), 8), serial::kErrIo);
    EXPECT_TRUE(device.requests.empty());
}

TEST_F(InProcessLine, SecondOpenIsBusyUntilTheFirstPortIsGone) {
    std::unique_ptr<serial::Port> second;
    EXPECT_EQ(backend.Open("/dev/ttyUSB0", k8N2, &second), serial::kErrBusy);
    EXPECT_EQ(second, nullptr);
    port.reset();
    EXPECT_EQ(backend.Open("/dev/ttyUSB0", k8N2, &second), 0);
    EXPECT_EQ(backend.Open("/dev/ttyUSB9", k8N2, &port), serial::kErrNoDevice);
}

TEST(InProcessBackend, RefusesSettingsNoDeviceTakes) {
    sys::VirtualClock clock;
    serial::InProcessBackend backend(clock);
    serial::ScriptedDevice device;
    backend.Attach("/dev/ttyS0", &device);
    std::unique_ptr<serial::Port> port;
    EXPECT_EQ(backend.Open("/dev/ttyS0", {12345, 0, 8, 1}, &port), serial::kErrSettings);
    EXPECT_EQ(port, nullptr);
}

}  // namespace
