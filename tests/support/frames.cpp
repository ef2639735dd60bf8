#include "tests/support/frames.h"

#include "link/crc.h"

namespace conf_test {

Bytes Sealed(Bytes frame) {
    frame.resize(frame.size() + 2);
    conf::fn_Get_CRC(frame.data(), static_cast<int>(frame.size()));
    return frame;
}

Bytes Read(int address, int count) {
    return Write(3, address, count);
}

Bytes Write(int code, int address, int value) {
    return Sealed({0x01, static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(address >> 8),
                   static_cast<std::uint8_t>(address & 0xFF),
                   static_cast<std::uint8_t>(value >> 8 & 0xFF),
                   static_cast<std::uint8_t>(value & 0xFF)});
}

const Bytes kDevInfoRequest{0x01, 0x03, 0x1F, 0x00, 0x00, 0x04, 0x43, 0xDD};

sim::Fault MakeFault(sim::FaultKind kind, int after, int count) {
    sim::Fault f;
    f.kind = kind;
    f.after = after;
    f.count = count;
    return f;
}

}  // namespace conf_test
