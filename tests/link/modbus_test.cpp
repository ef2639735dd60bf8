// The Modbus link against a scripted instrument: the core on its own as a program without
// panels uses it (a session it owns, an observer that records what the core tells), one
// transaction through the configurator (results, decoding and trace lines), and the register
// access over it (three attempts, gr, the tail of a late answer).

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "link/crc.h"
#include "link/port_open.h"
#include "link/register_access.h"
#include "modbus/access_mode.h"
#include "platform/serial/serial_error.h"
#include "platform/sys/log_stream.h"
#include "session/modbus_api.h"
#include "session/modbus_core.h"
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

// The link panel with its log and COM5 open on a scripted instrument.
class Modbus : public linktest::LinkTest {
  protected:
    void SetUp() override {
        OpenLog();
        OpenPort();
    }
    int Read16(Bytes request, std::span<std::int16_t> values) {
        request.resize(8);
        return conf::fn_Send_MB_MSG_16_A(ctx, 222, request.data(), 8, values, &ctx.gpLog);
    }
    const Bytes kReadSix{0x01, 0x03, 0x10, 0x00, 0x00, 0x06};
    const std::string kTxReadSix = "\tP222\tMB.Tx\t#01.03 <1000> (0006) {c108}\tRead\n";
};
using ModbusCore = Modbus;
using ModbusApi = Modbus;

// A CRC's low byte is checked first.
TEST(Crc, LowByteMismatchWinsOverHighByte) {
    Bytes frame{0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A};
    frame[6] ^= 0xFF;
    frame[7] ^= 0xFF;
    EXPECT_EQ(conf::fn_Verify_CRC(frame.data(), 8), -11);
    frame[6] ^= 0xFF;
    EXPECT_EQ(conf::fn_Verify_CRC(frame.data(), 8), -12);
}

TEST_F(ModbusCore, AnExceptionAnswerIsAPartialResponse) {
    device.Answer({0x01, 0x83, 0x02, 0xC0, 0xF1}, 0.005);
    std::array<std::int16_t, 6> v{};
    EXPECT_EQ(Read16(kReadSix, v), -2005);
    EXPECT_EQ(v[0], 0);
}

TEST_F(ModbusCore, SilenceCostsOneTimeOut) {
    device.StaySilent();
    std::array<std::int16_t, 6> v{};
    double start = fe.VirtualClock().Now();
    EXPECT_EQ(Read16(kReadSix, v), -2000);
    EXPECT_NEAR(fe.VirtualClock().Now() - start, 0.5 + 8 * 11 / 19200.0, 1e-9);
    EXPECT_EQ(Log(), kTxReadSix + "\tP222\tMB.Rx\t\xA1\xB9\xA1\xB9\xA1\xB9 COM read Time-out\n\n");
}

TEST_F(ModbusCore, ABadCrcIsMinusOneWithNoResponseLine) {
    Bytes answer = Sealed({0x01, 0x03, 0x02, 0x00, 0x07});
    answer.back() ^= 0x01;
    device.Answer(answer, 0.005);
    std::array<std::int16_t, 1> v{};
    EXPECT_EQ(Read16({0x01, 0x03, 0x00, 0x00, 0x00, 0x01}, v), -1);
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(Log(), "\tP222\tMB.Tx\t#01.03 <0000> (0001) {840a}\tRead\n");
}

TEST_F(ModbusCore, AByteCountThatClaimsMoreNeverWritesPastTheCallersArray) {
    // One register asked for, an answer of the right length whose byte count says 0x7c.
    device.Answer(Sealed({0x01, 0x03, 0x7c, 0x12, 0x34}), 0.005);
    std::array<std::int16_t, 3> v{-1, -1, -1};
    EXPECT_EQ(conf::fn_Send_MB_MSG_16_A(ctx, 222, Bytes{0x01, 0x03, 0, 0, 0, 1, 0, 0}.data(), 8,
                                        std::span(v).first(1), nullptr),
              0);
    EXPECT_EQ(v, (std::array<std::int16_t, 3>{0x1234, -1, -1}));
}

TEST_F(ModbusCore, AnUndefinedCodeIsRefusedBeforeAnythingIsSent) {
    Bytes request{0x01, 0x10, 0x10, 0x00, 0x00, 0x02, 0x04, 0, 1, 0, 2, 0, 0};
    EXPECT_EQ(conf::fn_Send_MB_MSG_16_A(ctx, 222, request.data(), 13, {}, &ctx.gpLog), -1);
    EXPECT_TRUE(device.requests.empty());
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].title, "m104__Modbus_core");
    EXPECT_EQ(fe.Popups()[0].text, "104.6963 Un-defined Modbus OP");
    EXPECT_EQ(Log(),
              "\tP222\tMB.Tx\t#01.10 <1000> (0002) (04)  [0001][0002]  {ee6e}\tWrite n Words\n");
}

TEST_F(ModbusCore, ThirtyTwoBitValuesAndTheirPause) {
    device.Answer(Sealed({0x01, 0x03, 0x08, 0x00, 0x01, 0x00, 0x02, 0xFF, 0xFF, 0xFF, 0xFE}),
                  0.005);
    std::array<std::int32_t, 2> v{};
    Bytes request{0x01, 0x03, 0x10, 0x00, 0x00, 0x04, 0, 0};
    double start = fe.VirtualClock().Now();
    EXPECT_EQ(conf::fn_Send_MB_MSG_32_A(ctx, 222, request.data(), 8, v, nullptr), 0);
    EXPECT_EQ(v, (std::array<std::int32_t, 2>{65538, -2}));
    EXPECT_GE(fe.VirtualClock().Now() - start, 0.05);
}

TEST_F(ModbusCore, AClosedPortFailsAtTheFlush) {
    com.CloseCom(222);
    EXPECT_EQ(Read16(kReadSix, {}), -555);
    EXPECT_EQ(Log(), kTxReadSix);
}

TEST_F(ModbusCore, APulledAdapterIsAReadError) {
    device.Vanish();
    std::array<std::int16_t, 6> v{};
    int r = Read16(kReadSix, v);
    EXPECT_TRUE(r == -2000 - serial::kErrIo || r == -1000 - serial::kErrIo) << r;
    EXPECT_NE(Log().find("err code: -7\n"), std::string::npos);
}

// A port that takes only part of every frame.
class ShortWritePort final : public serial::Port {
  public:
    int Write(const std::uint8_t*, int n) override { return n > 3 ? 3 : n; }
    int Read(std::uint8_t*, int, double) override { return 0; }
    int FlushInput() override { return 0; }
    int FlushOutput() override { return 0; }
    const serial::LineSettings& Settings() const override { return settings_; }

  private:
    serial::LineSettings settings_{19200, 0, 8, 2};
};

class ShortWriteBackend final : public serial::Backend {
  public:
    int Open(const std::string&, const serial::LineSettings&,
             std::unique_ptr<serial::Port>* out) override {
        *out = std::make_unique<ShortWritePort>();
        return 0;
    }
};

TEST_F(ModbusCore, AShortWriteIsReportedWithItsCount) {
    ShortWriteBackend shortBackend;
    serial::Rs232 shortCom(shortBackend, serial::ComMapEnv{});
    ASSERT_EQ(shortCom.OpenComConfig(222, "/dev/short", 19200, 0, 8, 2), 0);
    ctx.com = &shortCom;
    EXPECT_EQ(Read16(kReadSix, {}), -1003);
    EXPECT_EQ(
        Log(),
        kTxReadSix +
            "\t\xA1\xB9\xA1\xB9\xA1\xB9 COM write NG, err code: 3\n\n\tcheck Help of LW.CVI\n");
    ctx.com = &com;
}

TEST_F(ModbusApi, AnAnswerOnTheThirdAttemptSucceedsAndThreeFailuresLeaveTheirResultInGr) {
    device.StaySilent();
    device.AnswerPart(Sealed({0x01, 0x03, 0x02, 0x00, 0x09}), 3, 0.005);
    device.Answer(Sealed({0x01, 0x03, 0x02, 0x00, 0x09}), 0.005);
    std::array<std::int16_t, 1> v{};
    EXPECT_EQ(conf::fn_Modbus_Device_RW_16(ctx, 3, 0x0002, 1, v), 0);
    EXPECT_EQ(v[0], 9);
    ASSERT_EQ(device.requests.size(), 3u);
    EXPECT_EQ(device.requests[0].bytes, device.requests[2].bytes);  // sent unchanged each time
    std::string log = Log();
    EXPECT_NE(log.find("COM read Time-out"), std::string::npos);
    EXPECT_NE(log.find("n=3\n"), std::string::npos);
    EXPECT_NE(log.find("MB.Rx\t#01.03 (02)   [0009]{"), std::string::npos);
    EXPECT_EQ(ctx.gr, 0);
    // Three failures leave the last result in gr.
    EXPECT_EQ(conf::fn_Modbus_Device_RW_16(ctx, 3, 0x1F00, 4), -2000);  // nothing scripted
    EXPECT_EQ(ctx.gr, -2000);
    EXPECT_EQ(device.requests.size(), 6u);
}

// An answer cut by the time-out whose tail comes in late: the line is drained until quiet, so
// the next attempt reads its own answer, not the tail of the last one.
TEST_F(ModbusApi, TheTailOfALateAnswerIsNotTakenForTheNextOne) {
    // 125 registers of {high, i}: 146 ms of bytes at 19200 baud.
    auto answer = [](std::uint8_t high) {
        Bytes a{0x01, 0x03, 250};
        for (int i = 0; i < 125; ++i)
            a.insert(a.end(), {high, static_cast<std::uint8_t>(i)});
        return Sealed(a);
    };
    device.Answer(answer(0x11), 0.45);  // straddles the 0.5 s time-out
    device.Answer(answer(0x22), 0.005);
    std::array<std::int16_t, 125> v{};
    EXPECT_EQ(conf::fn_Modbus_Device_RW_16(ctx, 3, 0, 125, v), 0);
    EXPECT_EQ(v[0], 0x2200);
    EXPECT_EQ(v[124], 0x2200 + 124);
    EXPECT_EQ(device.requests.size(), 2u);
}

}  // namespace
