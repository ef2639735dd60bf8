#include "sim/frame.h"

#include <algorithm>
#include <cstdio>

namespace sim {

namespace {

// CRC-16 of Modbus RTU, bit by bit (reflected polynomial 0xA001, start 0xFFFF). The simulator
// keeps its own, so that a slip in the programs' CRC cannot hide behind the same slip here.
std::uint16_t Crc16(const std::uint8_t* bytes, std::size_t n) {
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

}  // namespace

int RequestLength(const std::uint8_t* bytes, std::size_t n) {
    if (n < 2) return 0;
    switch (bytes[1]) {
        case 3:
        case 4:
        case 5:
        case 6:
            return 8;
        case 9:
        case 16:
            return n < 7 ? 0 : 9 + bytes[6];
        default:
            return -1;
    }
}

void Seal(Bytes* frame) {
    const std::uint16_t crc = Crc16(frame->data(), frame->size());
    frame->push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame->push_back(static_cast<std::uint8_t>(crc >> 8));
}

bool CrcMatches(const Bytes& frame) {
    if (frame.size() < 4) return false;
    const std::size_t n = frame.size() - 2;
    const std::uint16_t crc = Crc16(frame.data(), n);
    return frame[n] == (crc & 0xFF) && frame[n + 1] == (crc >> 8);
}

std::string Hex(const Bytes& bytes) {
    std::string s;
    char buf[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02X", bytes[i]);
        if (i) s += ' ';
        s += buf;
    }
    return s;
}

void Framer::Push(std::uint8_t byte, double at) {
    bytes_.push_back(byte);
    times_.push_back(at);
}

Framer::Frame Framer::Take(std::size_t n) {
    Frame f;
    f.bytes.assign(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(n));
    f.firstAt = times_.front();
    f.lastAt = times_[n - 1];
    bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(n));
    times_.erase(times_.begin(), times_.begin() + static_cast<std::ptrdiff_t>(n));
    return f;
}

bool Framer::Next(Frame* out) {
    if (bytes_.empty()) return false;
    std::uint8_t head[7] = {};
    const std::size_t have = std::min<std::size_t>(bytes_.size(), sizeof head);
    for (std::size_t i = 0; i < have; ++i)
        head[i] = bytes_[i];
    const int length = RequestLength(head, have);
    if (length > 0 && bytes_.size() >= static_cast<std::size_t>(length)) {
        *out = Take(static_cast<std::size_t>(length));
        return true;
    }
    if (bytes_.size() >= kMaxFrame) {
        *out = Take(kMaxFrame);
        return true;
    }
    return false;
}

bool Framer::Flush(Frame* out) {
    if (bytes_.empty()) return false;
    *out = Take(bytes_.size());
    return true;
}

}  // namespace sim
