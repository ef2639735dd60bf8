// The Modbus core on its own, as a program without panels uses it: a session it owns, an
// observer that records what the core tells, a scripted instrument on an in-process line.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "link/port_open.h"
#include "link/register_access.h"
#include "modbus/access_mode.h"
#include "platform/serial/serial_error.h"
#include "platform/sys/log_stream.h"
#include "tests/support/fixtures.h"

namespace {

using conf_test::Bytes;
using conf_test::Sealed;

// Bytes as lower-case hex, each followed by `sep`.
std::string Hex(const Bytes& bytes, const char* sep = "") {
    std::string s;
    char b[8];
    for (std::uint8_t byte : bytes) {
        std::snprintf(b, sizeof b, "%02x%s", byte, sep);
        s += b;
    }
    return s;
}

// Every call of the core, in order, as one line each.
class RecordingObserver final : public conf::LinkObserver {
  public:
    void TraceRequest(sys::LogStream&, int port, const std::uint8_t* frame, int length,
                      conf::TraceStyle) override {
        calls.push_back("tx P" + std::to_string(port) + " " + Hex(Bytes(frame, frame + length)));
    }
    void TraceAnswer(sys::LogStream&, int port, const std::uint8_t* frame, int length,
                     conf::TraceStyle) override {
        calls.push_back("rx P" + std::to_string(port) + " " + Hex(Bytes(frame, frame + length)));
    }
    void Popup(const std::string& title, const std::string& text) override {
        calls.push_back("popup " + title + " / " + text);
    }
    void Delay(double seconds) override { calls.push_back("delay " + std::to_string(seconds)); }
    void PortRecord(const std::string& text) override { calls.push_back("record " + text); }

    std::vector<std::string> calls;
};

// COM5 on the line to the scripted instrument, in a scratch folder.
class LinkCore : public ::testing::Test, public conf_test::InScratchDir, public conf_test::Lines {
  protected:
    LinkCore() {
        Plug(5, &device);
        session.com = &com;
        session.station = 7;
    }
    std::string ReadErrors() {
        errors.Flush();
        return Slurp("errors.txt");
    }

    serial::ScriptedDevice device;
    conf::LinkSession session;
    RecordingObserver observer;
    sys::LogStream trace, errors;
    conf::TransactionOptions options;
};

TEST_F(LinkCore, TheSessionsStationAndTimeOutGoToTheLineAndTheObserverHearsEveryStep) {
    session.timeout = 0.25;
    ASSERT_EQ(conf::OpenLine(session, observer, 5, 3, 0, 8, 2, "|"), 0);
    double timeout = 0;
    com.GetComTime(222, &timeout);
    EXPECT_EQ(timeout, 0.25);
    options.waitBeforeRead = 0.05;
    const Bytes request = Sealed({0x07, 0x03, 0x10, 0x00, 0x00, 0x02});
    const Bytes answer = Sealed({0x07, 0x03, 0x04, 0x00, 0x05, 0xFF, 0xFE});
    device.Answer(answer, 0.002);
    std::array<std::int16_t, 2> v{};
    EXPECT_EQ(
        conf::DeviceRW16(session, observer, options, {&trace, &errors}, conf::enR, 0x1000, 2, v),
        0);
    EXPECT_EQ(v, (std::array<std::int16_t, 2>{5, -2}));
    ASSERT_EQ(device.requests.size(), 1u);
    EXPECT_EQ(device.requests[0].bytes, request);
    EXPECT_EQ(observer.calls, (std::vector<std::string>{
                                  "record Open COM ( P222,   COM5, 19200, 0, 8, 2 ) \t",
                                  "record Set Com Time (s) : 0.250000|", "tx P222 " + Hex(request),
                                  "delay 0.050000", "rx P222 " + Hex(answer)}));
}

TEST_F(LinkCore, SilenceIsThreeAttemptsWithTheErrorLinesOnTheErrorStreamOnly) {
    ASSERT_TRUE(errors.Open("errors.txt", "w"));
    ASSERT_EQ(conf::OpenLine(session, observer, 5, 3, 0, 8, 2, "\n"), 0);
    observer.calls.clear();
    EXPECT_EQ(
        conf::DeviceRW16(session, observer, options, {nullptr, &errors}, conf::enWram, 13, 9, {}),
        -2000);
    EXPECT_EQ(device.requests.size(), 3u);
    EXPECT_TRUE(observer.calls.empty());  // no trace stream: no request lines
    std::string once = "\tP222\tMB.Rx\t\xA1\xB9\xA1\xB9\xA1\xB9 COM read Time-out\n\n";
    EXPECT_EQ(ReadErrors(), once + once + once);
}

// The port's notes follow its open record, every time: a refusal's with a popup every time,
// an urgent one of an open that went through with a popup once per run, others none.
TEST_F(LinkCore, NotesOfAnOpenFollowItsRecordAndUrgentOnesArePoppedUp) {
    const std::string denied = "Permission denied: /dev/ttyUSB0 belongs to group dialout";
    const std::string shared = "/dev/ttyUSB0 is also open in minicom (pid 2001)";
    const std::string slow = "/dev/ttyUSB0: FTDI latency timer 16 ms";
    struct Case {
        int code;
        serial::OpenNote note;
        bool popup;
    };
    for (const Case& c :
         {Case{serial::kErrPermission, {denied, true}, true},
          Case{serial::kErrPermission, {denied, true}, true}, Case{0, {shared, true}, true},
          Case{0, {shared, true}, false}, Case{0, {slow, false}, false}}) {
        SCOPED_TRACE(c.note.text);
        backend.SayOnOpen("/virtual/COM5", c.code, c.note);
        observer.calls.clear();
        EXPECT_EQ(conf::OpenLine(session, observer, 5, 3, 0, 8, 2, "|"), c.code);
        std::vector<std::string> tail{"record COM5 :: " + c.note.text + "|"};
        if (c.popup) tail.push_back("popup Open COM5 / " + c.note.text);
        ASSERT_GE(observer.calls.size(), tail.size() + 1);
        std::vector<std::string> got(observer.calls.end() - tail.size() - 1, observer.calls.end());
        EXPECT_EQ(
            got[0].rfind(c.code < 0 ? "record open NG :: permission denied" : "record Set Com", 0),
            0u);
        EXPECT_EQ(std::vector<std::string>(got.begin() + 1, got.end()), tail);
    }
}

TEST_F(LinkCore, AnOpenThatFailsEndsItsRecordWithTheReasonAndLeavesThePortClosed) {
    EXPECT_EQ(conf::OpenLine(session, observer, 200, 3, 0, 8, 2, "\n\n"), serial::kErrNotMapped);
    ASSERT_EQ(observer.calls.size(), 2u);
    EXPECT_EQ(observer.calls[1].rfind("record open NG :: COM port not mapped", 0), 0u);
    EXPECT_EQ(observer.calls[1].substr(observer.calls[1].size() - 2), "\n\n");
    EXPECT_FALSE(com.IsOpen(222));
}

// An adapter that hears itself: the request comes back first, exactly, or the attempt fails.
struct EchoCase {
    const char* name;
    int heard;      // bytes of the request that come back (-1: the request with byte 2 wrong)
    bool answered;  // the instrument's answer follows
    int result;
    const char* errors;  // %s: the bytes that came back, as the error line shows them
};

const EchoCase kEchoCases[] = {
    {"Good", 8, true, 0, ""},
    {"GoodEchoThenSilence", 8, false, -2000,
     "\tP222\tMB.Rx\t\xA1\xB9\xA1\xB9\xA1\xB9 COM read Time-out\n\n"},
    {"Garbled", -1, true, -2508,
     "\tP222\tMB.Rx\t%s\n\t\xA1\xB9\xA1\xB9\xA1\xB9 Echo NG : 8 of 8 bytes sent came back, not as "
     "sent\n\n"},
    {"Short", 5, false, -2505,
     "\tP222\tMB.Rx\t%s\n\t\xA1\xB9\xA1\xB9\xA1\xB9 Echo NG : 5 of 8 bytes sent came back\n\n"},
    // An adapter that does not echo after all: the answer's head is taken for the echo.
    {"NoneButTheAnswer", 0, true, -2508,
     "\tP222\tMB.Rx\t%s\n\t\xA1\xB9\xA1\xB9\xA1\xB9 Echo NG : 8 of 8 bytes sent came back, not as "
     "sent\n\n"},
    {"NothingAtAll", 0, false, -2500,
     "\tP222\tMB.Rx\t\xA1\xB9\xA1\xB9\xA1\xB9 COM read Time-out\n\t\xA1\xB9\xA1\xB9\xA1\xB9 Echo "
     "NG : "
     "0 of 8 bytes sent came back\n\n"},
};

class LinkEcho : public LinkCore, public ::testing::WithParamInterface<EchoCase> {};

TEST_P(LinkEcho, TheRequestMustComeBackBeforeTheAnswerIsRead) {
    const EchoCase& c = GetParam();
    ASSERT_TRUE(errors.Open("errors.txt", "w"));
    ASSERT_EQ(conf::OpenLine(session, observer, 5, 3, 0, 8, 2, "\n"), 0);
    observer.calls.clear();
    session.echo = true;
    const Bytes request = Sealed({0x07, 0x03, 0x10, 0x00, 0x00, 0x02});
    const Bytes answer = Sealed({0x07, 0x03, 0x04, 0x00, 0x05, 0xFF, 0xFE});
    Bytes line = request;  // what comes back of it
    if (c.heard < 0) line[2] ^= 0x01;
    if (c.heard >= 0) line.resize(static_cast<size_t>(c.heard));
    if (c.answered) line.insert(line.end(), answer.begin(), answer.end());
    if (!line.empty()) device.Answer(line, 0.002);  // else silence

    Bytes frame = {0x07, 0x03, 0x10, 0x00, 0x00, 0x02, 0, 0};
    std::vector<std::uint8_t> got;
    EXPECT_EQ(
        conf::RunTransaction(session, observer, options, {&trace, &errors}, frame.data(), 8, &got),
        c.result);
    // What the error line shows: the bytes read in place of the echo.
    const std::string shown =
        Hex(Bytes(line.begin(), line.begin() + std::min<size_t>(line.size(), 8)), " ");
    char expected[512];
    std::snprintf(expected, sizeof expected, c.errors, shown.c_str());
    EXPECT_EQ(ReadErrors(), expected);
    ASSERT_FALSE(observer.calls.empty());
    EXPECT_EQ(observer.calls[0].rfind("tx P222 070310000002", 0), 0u);
    EXPECT_EQ(observer.calls.size(), c.result == 0 ? 2u : 1u);  // the answer only when good
    if (c.result == 0) {
        EXPECT_EQ(got, answer);
    }
}

INSTANTIATE_TEST_SUITE_P(Echo, LinkEcho, ::testing::ValuesIn(kEchoCases),
                         [](const ::testing::TestParamInfo<EchoCase>& p) {
                             return std::string(p.param.name);
                         });

// A broken echo costs one attempt; its answer is drained, and the next attempt reads its own.
TEST_F(LinkCore, AGarbledEchoIsOneFailedAttemptOfThree) {
    session.echo = true;
    ASSERT_EQ(conf::OpenLine(session, observer, 5, 3, 0, 8, 2, "\n"), 0);
    const Bytes request = Sealed({0x07, 0x06, 0x00, 0x0D, 0x00, 0x09});
    Bytes garbled = request;
    garbled[7] ^= 0x80;
    Bytes first = garbled, second = request;
    first.insert(first.end(), request.begin(), request.end());  // a write answers its request
    second.insert(second.end(), request.begin(), request.end());
    device.Answer(first, 0.002);
    device.Answer(second, 0.002);
    EXPECT_EQ(
        conf::DeviceRW16(session, observer, options, {nullptr, nullptr}, conf::enWee, 13, 9, {}),
        0);
    EXPECT_EQ(device.requests.size(), 2u);
}

}  // namespace
