#pragma once
// Faults the simulated instrument can be told to show on the line, for tests and for a
// technician who wants to see how the programs cope.

#include <string>

namespace sim {

enum class FaultKind {
    kNone,
    kSilence,    // the request is carried out, the answer is lost
    kCut,        // only the first `bytes` bytes of the answer go out
    kLate,       // the answer goes out `delay` seconds late (after the master has given up)
    kBadCrc,     // the answer's CRC low byte is wrong
    kNoise,      // `bytes` noise bytes go out just before the answer
    kException,  // the request is refused with exception `exceptionCode`
    kVanish,     // the port disappears, as a pulled USB adapter
    // Network faults: a device server's connection
    kReset,  // half the answer goes out, then the connection is reset
    kStall,  // the answer is lost and the connection passes nothing more, though it stays open
    // Echo faults (with echo on): the answer goes out as usual, but
    kEchoGarbled,  // one byte of the request's echo comes back wrong
    kEchoLost,     // the request's echo is lost
};

// Strikes on requests addressed to the instrument's station that it would otherwise answer:
// the first `after` of them pass, then `count` of them are hit (0: every one from then on).
struct Fault {
    FaultKind kind = FaultKind::kNone;
    int bytes = 3;
    double delay = 1.0;
    int exceptionCode = 4;  // slave device failure
    int after = 0;
    int count = 1;
};

// "silence", "cut=3", "late=1.5", "bad-crc", "noise=4", "exception=2", "vanish", "reset",
// "stall", "echo-garbled", "echo-lost", each
// optionally followed by ",after=N" and ",count=N". 0, or -1 with the reason in *error.
int ParseFault(const std::string& text, Fault* out, std::string* error);

const char* FaultName(FaultKind kind);

}  // namespace sim
