#pragma once
// Requests as the master puts them on the line (station 1), and a fault for the simulated
// instrument to show.

#include <cstdint>
#include <vector>

#include "sim/fault.h"
#include "sim/frame.h"

namespace conf_test {

using sim::Bytes;

// A frame with its CRC appended.
Bytes Sealed(Bytes frame);
// A read (code 3) of `count` registers.
Bytes Read(int address, int count);
inline Bytes ReadRequest(int address, int count) {
    return Read(address, count);
}
// A one-register request (codes 5 and 6 write, the value in the last two bytes).
Bytes Write(int code, int address, int value);

// The device check's request, byte for byte, and a model A instrument's answer to it.
extern const Bytes kDevInfoRequest;
inline const Bytes& kReadModel = kDevInfoRequest;
inline const Bytes kModel =
    Sealed({0x01, 0x03, 0x08, 0x68, 0x02, 0x00, 0x00, 0x4D, 0xCC, 0xFE, 0x01});

// `kind` striking `count` requests (0: every one) from request number `after` (counting from 0).
sim::Fault MakeFault(sim::FaultKind kind, int after, int count);

}  // namespace conf_test
