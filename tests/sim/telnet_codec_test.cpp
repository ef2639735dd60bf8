// The Telnet end of the network port alone: option answers, port settings and their
// acknowledgements, purges, 0xFF escaping, bytes in any pieces.

#include <gtest/gtest.h>

#include "net_client.h"
#include "sim/telnet_codec.h"

namespace {

using namespace sim::telnet;
using sim::Bytes;
using sim::LineInput;
using simtest::Sub;

constexpr std::uint8_t kEcho = 1, kSga = 3, kNop = 241, kAyt = 246;

const serial::LineSettings k8N2{19200, serial::kParityNone, 8, 2};

// What the codec answers to `in` fed in pieces of `piece` bytes; its line input in *out.
Bytes Feed(sim::TelnetCodec& codec, const Bytes& in, std::size_t piece = 512,
           std::vector<LineInput>* out = nullptr) {
    std::vector<LineInput> pieces;
    Bytes reply;
    for (std::size_t at = 0; at < in.size(); at += piece)
        codec.Receive(in.data() + at, std::min(piece, in.size() - at), &pieces, &reply);
    if (out) *out = pieces;
    return reply;
}

TEST(TelnetCodec, OptionsAreAgreedOnceAndOthersRefused) {
    const std::pair<Bytes, Bytes> cases[] = {
        {{kIac, kWill, kBinary}, {kIac, kDo, kBinary}},
        {{kIac, kDo, kBinary}, {kIac, kWill, kBinary}},
        {{kIac, kWill, kComPort}, {kIac, kDo, kComPort}},
        {{kIac, kDo, kComPort}, {kIac, kWill, kComPort}},
        {{kIac, kDo, kEcho, kIac, kWill, kSga}, {kIac, kWont, kEcho, kIac, kDont, kSga}},
        {{kIac, kWont, kEcho, kIac, kDont, kSga, kIac, kDont, kBinary}, {}},
        {{kIac, kWill, kBinary, kIac, kWill, kBinary}, {kIac, kDo, kBinary}},
        {{kIac, kDo, kComPort, kIac, kDont, kComPort},
         {kIac, kWill, kComPort, kIac, kWont, kComPort}},
        {{kIac, kNop, kIac, kAyt, kIac, kSe}, {}},
    };
    for (const auto& [in, reply] : cases) {
        sim::TelnetCodec codec(k8N2);
        std::vector<LineInput> pieces;
        EXPECT_EQ(Feed(codec, in, 512, &pieces), reply) << ::testing::PrintToString(in);
        EXPECT_TRUE(pieces.empty());
    }
}

TEST(TelnetCodec, SettingsAreAcknowledgedWithTheValueInForce) {
    struct Case {
        std::uint8_t command;
        Bytes value;
        Bytes ack;  // empty: no answer
        serial::LineSettings after;
        int purge;
    };
    const Case cases[] = {
        {kSetBaudRate, {0, 0, 0x25, 0x80}, {0, 0, 0x25, 0x80}, {9600, 0, 8, 2}, 0},
        {kSetBaudRate, {0, 0, 0, 0}, {0, 0, 0x4B, 0x00}, k8N2, 0},        // a query
        {kSetBaudRate, {0, 0, 0x30, 0x39}, {0, 0, 0x4B, 0x00}, k8N2, 0},  // 12345: not taken
        {kSetBaudRate, {0x25, 0x80}, {}, k8N2, 0},
        {kSetDataSize, {7}, {7}, {19200, 0, 7, 2}, 0},
        {kSetDataSize, {0}, {8}, k8N2, 0},
        {kSetDataSize, {9}, {8}, k8N2, 0},
        {kSetParity, {3}, {3}, {19200, serial::kParityEven, 8, 2}, 0},
        {kSetParity, {2}, {2}, {19200, serial::kParityOdd, 8, 2}, 0},
        {kSetParity, {5}, {5}, {19200, serial::kParitySpace, 8, 2}, 0},
        {kSetParity, {0}, {1}, k8N2, 0},
        {kSetParity, {6}, {1}, k8N2, 0},
        {kSetStopSize, {1}, {1}, {19200, 0, 8, 1}, 0},
        {kSetStopSize, {3}, {2}, k8N2, 0},  // one and a half: not taken
        {kSetStopSize, {0}, {2}, k8N2, 0},
        {kSetControl, {1}, {1}, k8N2, 0},
        {kSetControl, {0}, {1}, k8N2, 0},
        {kSetControl, {9}, {9}, k8N2, 0},
        {kSetControl, {7}, {8}, k8N2, 0},
        {kSetControl, {12}, {12}, k8N2, 0},
        {kSetControl, {20}, {}, k8N2, 0},
        {kPurgeData, {1}, {1}, k8N2, sim::kPurgeOutput},
        {kPurgeData, {2}, {2}, k8N2, sim::kPurgeInput},
        {kPurgeData, {3}, {3}, k8N2, sim::kPurgeInput | sim::kPurgeOutput},
        {kPurgeData, {0}, {}, k8N2, 0},
        {0, {}, {}, k8N2, 0},       // the signature
        {10, {0xFF}, {}, k8N2, 0},  // the line state mask
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(Sub(c.command, c.value)));
        sim::TelnetCodec codec(k8N2);
        std::vector<LineInput> pieces;
        const Bytes reply = Feed(codec, Sub(c.command, c.value), 512, &pieces);
        EXPECT_EQ(reply, c.ack.empty() ? Bytes{} : Sub(c.command + kServerOffset, c.ack));
        EXPECT_EQ(codec.Settings(), c.after);
        EXPECT_EQ(pieces.empty() ? 0 : pieces[0].purge, c.purge);
    }
    // Another option's subnegotiation means nothing to this port.
    sim::TelnetCodec codec(k8N2);
    EXPECT_EQ(Feed(codec, {kIac, kSb, 24, 1, kIac, kSe}), Bytes{});
}

TEST(TelnetCodec, DataComesUnescapedInPiecesCutAtSettingsAndPurgesWhateverTheReads) {
    Bytes in = {0x01, kIac, kIac, 0x02};
    const Bytes parity = Sub(kSetParity, {3}), purge = Sub(kPurgeData, {2});
    in.insert(in.end(), parity.begin(), parity.end());
    in.push_back(0x03);
    in.insert(in.end(), purge.begin(), purge.end());
    // An unended subnegotiation gives way to the command that interrupts it.
    in.insert(in.end(), {0x04, kIac, kSb, kComPort, kSetParity, 1, kIac, kWill, kBinary, 0x05});
    const serial::LineSettings even{19200, serial::kParityEven, 8, 2};
    Bytes ack = Sub(kSetParity + kServerOffset, {3});
    const Bytes purged = Sub(kPurgeData + kServerOffset, {2});
    ack.insert(ack.end(), purged.begin(), purged.end());
    ack.insert(ack.end(), {kIac, kDo, kBinary});
    for (std::size_t piece : {std::size_t{1}, std::size_t{3}, in.size()}) {
        SCOPED_TRACE(piece);
        sim::TelnetCodec codec(k8N2);
        std::vector<LineInput> pieces;
        EXPECT_EQ(Feed(codec, in, piece, &pieces), ack);
        ASSERT_EQ(pieces.size(), 3u);
        EXPECT_EQ(pieces[0].settings, k8N2);
        EXPECT_EQ(pieces[0].data, (Bytes{0x01, 0xFF, 0x02}));
        EXPECT_EQ(pieces[1].settings, even);
        EXPECT_EQ(pieces[1].data, Bytes{0x03});
        EXPECT_EQ(pieces[1].purge, sim::kPurgeInput);
        EXPECT_EQ(pieces[2].data, (Bytes{0x04, 0x05}));
        EXPECT_EQ(pieces[2].purge, 0);
    }
    // A subnegotiation too long for any setting is dropped whole.
    sim::TelnetCodec codec(k8N2);
    Bytes longSub = {kIac, kSb, kComPort, kSetParity};
    longSub.resize(200, 3);
    longSub.insert(longSub.end(), {kIac, kSe, 0x06});
    std::vector<LineInput> pieces;
    EXPECT_EQ(Feed(codec, longSub, 512, &pieces), Bytes{});
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].data, Bytes{0x06});
    EXPECT_EQ(codec.Settings(), k8N2);
}

}  // namespace
