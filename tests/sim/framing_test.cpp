// Where requests begin and end in a byte stream, and bytes that make no request.

#include <gtest/gtest.h>

#include <cstdint>

#include "sim/frame.h"
#include "tests/support/fixtures.h"

namespace {

using sim::Bytes;
using sim::Outcome;

const serial::LineSettings k8N2 = sim::LinkSettings(3, 1);

// Everything the device has sent by time upTo.
Bytes Drain(sim::SimulatedDevice& d, double upTo = 1e9) {
    Bytes out;
    std::uint8_t b = 0;
    double at = 0.0;
    while (d.NextByte(upTo, &b, &at))
        out.push_back(b);
    return out;
}

using Framing = simtest::SimTest;  // the requests are fed to the device directly

// The simulator's own CRC against frames whose CRC is known from outside the suite.
TEST(SimCrc, SealsAndChecksKnownFrames) {
    Bytes check{'1', '2', '3', '4', '5', '6', '7', '8', '9'};  // the CRC's published check value
    sim::Seal(&check);
    EXPECT_EQ(check[9], 0x37);
    EXPECT_EQ(check[10], 0x4B);
    Bytes request{0x01, 0x03, 0x1F, 0x00, 0x00, 0x04};
    sim::Seal(&request);
    EXPECT_EQ(request, (Bytes{0x01, 0x03, 0x1F, 0x00, 0x00, 0x04, 0x43, 0xDD}));
    EXPECT_TRUE(sim::CrcMatches(request));
    for (std::size_t i = 0; i < request.size(); ++i) {
        Bytes spoilt = request;
        spoilt[i] ^= 0x01;
        EXPECT_FALSE(sim::CrcMatches(spoilt)) << i;
    }
    EXPECT_FALSE(sim::CrcMatches(Bytes{0xFF, 0xFF, 0xFF}));
}

TEST_F(Framing, FramerCutsByLengthAndFlushesTheRest) {
    sim::Framer f;
    const Bytes a = Sealed({0x01, 0x03, 0x00, 0x00, 0x00, 0x01});
    const Bytes b = Sealed({0x01, 0x10, 0x10, 0x01, 0x00, 0x02, 0x04, 0, 0, 0, 7});
    Bytes stream = a;
    stream.insert(stream.end(), b.begin(), b.end());
    stream.push_back(0x01);
    for (std::size_t i = 0; i < stream.size(); ++i)
        f.Push(stream[i], static_cast<double>(i));
    sim::Framer::Frame frame;
    ASSERT_TRUE(f.Next(&frame));
    EXPECT_EQ(frame.bytes, a);
    EXPECT_EQ(frame.lastAt, 7.0);
    ASSERT_TRUE(f.Next(&frame));
    EXPECT_EQ(frame.bytes, b);
    EXPECT_EQ(frame.firstAt, 8.0);
    EXPECT_FALSE(f.Next(&frame));
    ASSERT_TRUE(f.Flush(&frame));
    EXPECT_EQ(frame.bytes, Bytes{0x01});
    EXPECT_TRUE(f.Empty());

    for (int i = 0; i < 300; ++i)
        f.Push(0x55, 0.0);  // noise never makes a frame: taken in runs of the longest one
    ASSERT_TRUE(f.Next(&frame));
    EXPECT_EQ(frame.bytes.size(), sim::kMaxFrame);
}

TEST_F(Framing, NoiseBeforeARequestSpoilsItButNotTheNextOne) {
    const Bytes req = Sealed({0x01, 0x03, 0x1F, 0x00, 0x00, 0x01});
    Bytes noisy = {0xFF};
    noisy.insert(noisy.end(), req.begin(), req.end());
    sim->Receive(k8N2, noisy, 0.0);
    EXPECT_EQ(Drain(*sim), Bytes{});
    sim->Receive(k8N2, req, 1.0);
    EXPECT_EQ(Drain(*sim), Sealed({0x01, 0x03, 0x02, 0x68, 0x02}));
    EXPECT_EQ(inst->Log()[0].outcome, Outcome::kBadFrame);
    EXPECT_EQ(inst->Log()[1].outcome, Outcome::kAnswered);
}

TEST_F(Framing, BackToBackRequestsTalkOverTheFirstAnswer) {
    Bytes two = Sealed({0x01, 0x05, 0x00, 0x08, 0x00, 0x09});
    const Bytes second = Sealed({0x01, 0x03, 0x00, 0x08, 0x00, 0x01});
    two.insert(two.end(), second.begin(), second.end());
    sim->Receive(k8N2, two, 0.0);
    EXPECT_EQ(Drain(*sim), Sealed({0x01, 0x03, 0x02, 0x00, 0x09}));
    ASSERT_EQ(inst->Log().size(), 2u);
    EXPECT_DOUBLE_EQ(inst->Log()[1].start, inst->Log()[0].end);
}

TEST_F(Framing, WrongLengthForItsCodeIsRefused) {
    EXPECT_EQ(inst->Handle(k8N2, Sealed({0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00}), 1.0).bytes,
              Sealed({0x01, 0x83, 0x03}));
    EXPECT_EQ(inst->Handle(k8N2, Bytes{0x01, 0x03}, 1.0).bytes, Bytes{});
    EXPECT_EQ(inst->Handle(k8N2, Bytes{}, 1.0).bytes, Bytes{});
}

TEST_F(Framing, RandomBytesNeverUpsetTheInstrument) {
    Start(sim::DefaultConfig(sim::Model::kB));
    std::uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<std::uint8_t>(seed >> 16 & 0xFF);
    };
    double t = 0.0;
    const std::uint8_t codes[] = {3, 4, 5, 6, 9, 16, 0x2B};
    for (int round = 0; round < 4000; ++round) {
        Bytes chunk(1 + next() % 40);
        for (auto& b : chunk)
            b = next();
        if (round % 2 == 1) {
            // A sealed request of random content: reaches the register code.
            chunk.resize(2 + next() % 18);
            chunk[0] = next() % 4 == 0 ? 0 : static_cast<std::uint8_t>(inst->Station(t));
            chunk[1] = codes[next() % 7];
            if (chunk.size() > 2)
                chunk[2] = static_cast<std::uint8_t>(next() % 2 ? 0x10 : next() % 0x20);
            sim::Seal(&chunk);
        }
        sim->Receive(inst->Settings(t), chunk, t);
        t += 1.0;
        for (const sim::LogEntry& e : inst->TakeLog())
            EXPECT_TRUE(e.answer.empty() || sim::CrcMatches(e.answer)) << sim::Hex(e.request);
        Drain(*sim, t);
    }
    const int station = inst->Station(t);
    sim->Receive(inst->Settings(t),
                 Sealed({static_cast<std::uint8_t>(station), 0x03, 0x1F, 0x00, 0x00, 0x01}), t);
    EXPECT_EQ(Drain(*sim).size(), 7u);
}

}  // namespace
