// Who the instrument hears and when: line settings, stations, broadcasts, the link registers
// that switch after their answer, the forcing broadcast and the configurator's recovery.

#include <gtest/gtest.h>

#include "session/link_controls.h"
#include "session/uart.h"
#include "tests/support/fixtures.h"

namespace {

using sim::Outcome;
using simtest::Bytes;

class LinkBehaviour : public simtest::SimTest {
  protected:
    void Station(int s) { conf::ID_comm::SV(ctx, s); }
    // The forcing broadcast as the scanner sends it.
    int Force() {
        Station(0);
        int r = Write(0x0A07, 0x6C2E, 5);
        Station(1);
        return r;
    }
    // The stored station, baud index and frame format, as the link start reads them.
    std::vector<std::int16_t> StoredLink() {
        std::vector<std::int16_t> b;
        EXPECT_EQ(Read(0x1000, 6, &b), 0);
        return b.size() == 6 ? std::vector<std::int16_t>{b[0], b[1], b[5]} : b;
    }
};

TEST_F(LinkBehaviour, OtherLineSettingsAreNotHeardAndAPseudoTerminalIgnoresParity) {
    const serial::LineSettings wrong[] = {
        {9600, serial::kParityNone, 8, 2},
        {19200, serial::kParityNone, 8, 1},
        {19200, serial::kParityEven, 8, 2},
        {19200, serial::kParityNone, 7, 2},
    };
    for (const auto& s : wrong) {
        Open(s.baud, s.parity, s.dataBits, s.stopBits);
        EXPECT_EQ(Read(0x1F00, 1), -2000) << sim::SettingsText(s);
    }
    EXPECT_EQ(Outcomes(), std::vector<Outcome>(12, Outcome::kWrongSettings));
    EXPECT_EQ(inst->Log()[3].settings, (serial::LineSettings{19200, serial::kParityNone, 8, 1}));
    Open(19200, serial::kParityNone, 8, 2);
    EXPECT_EQ(Read(0x1F00, 1), 0);

    // A pseudo-terminal carries no parity: only the speed and stop bits are compared.
    sim::InstrumentConfig c = sim::DefaultConfig(sim::Model::kA);
    c.lineCheck = sim::LineCheck::kBaudAndStopBits;
    Start(c);
    Open(19200, serial::kParityEven, 8, 2);
    EXPECT_EQ(Read(0x1F00, 1), 0);
    Open(19200, serial::kParityNone, 8, 1);
    EXPECT_EQ(Read(0x1F00, 1), -2000);
}

TEST_F(LinkBehaviour, OtherStationsAndBroadcastsGetNoAnswer) {
    OpenPort();
    Station(2);
    EXPECT_EQ(Read(0x1F00, 1), -2000);
    Station(0);
    EXPECT_EQ(Read(0x1F00, 1), -2000);
    EXPECT_EQ(Write(8, 9), -2000);  // carried out all the same, three times
    EXPECT_EQ(Ram(8), 9);
    std::vector<Outcome> expected(3, Outcome::kOtherStation);
    expected.insert(expected.end(), 6, Outcome::kBroadcast);
    EXPECT_EQ(Outcomes(), expected);
    std::uint8_t byte = 0;
    double at = 0.0;
    EXPECT_FALSE(sim->NextByte(1e9, &byte, &at));
}

TEST_F(LinkBehaviour, LinkRegistersSwitchAfterTheirAnswer) {
    OpenPort();
    ASSERT_EQ(Write(13, 5), 0);  // answered from station 1
    EXPECT_EQ(Read(0x1F00, 1), -2000);
    Station(5);
    EXPECT_EQ(Read(0x1F00, 1), 0);

    ASSERT_EQ(Write(14, 2), 0);  // answered at 19200
    EXPECT_EQ(Read(0x1F00, 1), -2000);
    Open(9600, serial::kParityNone, 8, 2);
    EXPECT_EQ(Read(0x1F00, 1), 0);

    ASSERT_EQ(Write(29, 3), 0);  // answered at 8N2
    EXPECT_EQ(Read(0x1F00, 1), -2000);
    Open(9600, serial::kParityEven, 8, 1);
    // The second values are the stored settings: still 1, 19200, 8N2.
    EXPECT_EQ(StoredLink(), (std::vector<std::int16_t>{1, 3, 1}));
    ASSERT_EQ(Write(8, 5, 6), 0);  // any EEPROM write stores the new link settings too
    EXPECT_EQ(StoredLink(), (std::vector<std::int16_t>{5, 2, 3}));
}

TEST_F(LinkBehaviour, TheSwitchComesWithTheAnswersLastByte) {
    const serial::LineSettings at19200 = sim::LinkSettings(3, 1);
    Bytes req = Sealed({0x01, 0x05, 0x00, 0x0E, 0x00, 0x00});
    sim::Reply r = inst->Handle(at19200, req, 1.0);
    ASSERT_EQ(r.bytes, req);
    const double last = r.start + 8 * r.charTime;
    EXPECT_DOUBLE_EQ(r.charTime, 11.0 / 19200);
    EXPECT_EQ(inst->Settings(last - 1e-6).baud, 19200);
    EXPECT_EQ(inst->Settings(last).baud, 2400);
}

TEST_F(LinkBehaviour, ForcingPutsTheInstrumentOnFixedSettingsInRamAndLinkStartRecoversIt) {
    sim::InstrumentConfig c = sim::DefaultConfig(sim::Model::kA);
    c.station = 7;
    c.baudIndex = 2;  // 9600 8E1
    c.formatIndex = 3;
    Start(c);
    Open(19200, serial::kParityNone, 8, 2);
    EXPECT_EQ(Force(), -2000);  // heard only at the instrument's own settings
    EXPECT_EQ(Outcomes(), std::vector<Outcome>(3, Outcome::kWrongSettings));

    Open(9600, serial::kParityEven, 8, 1);
    EXPECT_EQ(Force(), -2000);  // never answered
    Open(19200, serial::kParityNone, 8, 2);
    EXPECT_EQ(Reg(0x1F00), 0x6802);
    EXPECT_EQ(StoredLink(), (std::vector<std::int16_t>{7, 2, 3}));

    inst->PowerCycle(Now());  // RAM only: back on its own settings
    EXPECT_EQ(Read(0x1F00, 1), -2000);
    Open(9600, serial::kParityEven, 8, 1);
    Station(7);
    EXPECT_EQ(Read(0x1F00, 1), 0);
    // Addressed instead of broadcast, it is answered first.
    EXPECT_EQ(Write(0x0A07, 0x6C2E), 0);
    EXPECT_EQ(Read(0x1F00, 1), -2000);

    // The scanner's hand-over after forcing: the link start finds it and moves it back.
    ASSERT_EQ(com.CloseCom(222), 0);
    conf_test::WriteFile("COM_Dev_use.txt", "5\n3\n0\n8\n2\n6802");
    inst->TakeLog();
    Station(1);  // the panel as Tarnel starts
    ASSERT_EQ(conf::UART::init(ctx), 0);
    EXPECT_EQ(LinkTest::Station(), 7);
    EXPECT_EQ(Index("BR_COMM"), 2);
    EXPECT_EQ(Index("RTU_COMM"), 3);
    EXPECT_EQ(inst->Station(Now()), 7);
    EXPECT_EQ(inst->Settings(Now()), sim::LinkSettings(2, 3));
    // Block read and station at 19200 8N2, baud rate to station 7, frame format at 9600.
    const std::pair<Bytes, serial::LineSettings> expected[] = {
        {{0x01, 0x03, 0x10, 0x00, 0x00, 0x06}, sim::LinkSettings(3, 1)},
        {{0x01, 0x05, 0x00, 0x0D, 0x00, 0x07}, sim::LinkSettings(3, 1)},
        {{0x07, 0x05, 0x00, 0x0E, 0x00, 0x02}, sim::LinkSettings(3, 1)},
        {{0x07, 0x05, 0x00, 0x1D, 0x00, 0x03}, sim::LinkSettings(2, 1)},
    };
    const auto& log = inst->Log();
    ASSERT_EQ(log.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(log[i].request, Sealed(expected[i].first)) << i;
        EXPECT_EQ(log[i].settings, expected[i].second) << i;
        EXPECT_EQ(log[i].outcome, Outcome::kAnswered) << i;
    }
    EXPECT_EQ(Read(0x1F00, 1), 0);
}

}  // namespace
