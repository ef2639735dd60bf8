// The Telnet end of the simulator's network port, fed whatever a client could send. Input:
//   byte 0   the size of the pieces the rest comes in (0 counts as 1), as reads cut it
//   then the bytes from the client.
// Checks: the port's settings stay ones a serial port takes; every piece handed to the line
// carries data or a purge; the data, escaped and sent to a fresh port, come through unchanged
// and unanswered.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "sim/telnet_codec.h"

namespace {

const serial::LineSettings kStart{19200, serial::kParityNone, 8, 2};

// Everything the pieces carry; traps on a piece with neither data nor a purge.
sim::Bytes Data(const std::vector<sim::LineInput>& pieces) {
    sim::Bytes all;
    for (const sim::LineInput& p : pieces) {
        if (p.data.empty() && p.purge == 0) __builtin_trap();
        all.insert(all.end(), p.data.begin(), p.data.end());
    }
    return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t piece = std::max<std::size_t>(data[0], 1);
    sim::TelnetCodec codec(kStart);
    std::vector<sim::LineInput> pieces;
    sim::Bytes reply;
    for (std::size_t at = 1; at < size; at += piece)
        codec.Receive(data + at, std::min(piece, size - at), &pieces, &reply);
    const serial::LineSettings& s = codec.Settings();
    if (s.baud <= 0 || s.dataBits < 5 || s.dataBits > 8 || s.parity < serial::kParityNone ||
        s.parity > serial::kParitySpace || s.stopBits < 1 || s.stopBits > 2)
        __builtin_trap();
    const sim::Bytes all = Data(pieces);

    sim::Bytes escaped;
    sim::TelnetCodec::Escape(all, &escaped);
    sim::TelnetCodec fresh(kStart);
    std::vector<sim::LineInput> back;
    sim::Bytes none;
    fresh.Receive(escaped.data(), escaped.size(), &back, &none);
    if (Data(back) != all || !none.empty()) __builtin_trap();
    return 0;
}
