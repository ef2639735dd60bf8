#include "sim/frame.h"

#include <algorithm>
#include <cstdio>

#include "link/crc.h"

namespace sim {

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
    frame->resize(frame->size() + 2);
    conf::fn_Get_CRC(frame->data(), static_cast<int>(frame->size()));
}

bool CrcMatches(const Bytes& frame) {
    return frame.size() >= 4 &&
           conf::fn_Verify_CRC(frame.data(), static_cast<int>(frame.size())) == 0;
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
