#include "link/crc.h"

namespace conf {

std::uint16_t fn_CRC_8_bit(std::uint16_t crc, std::uint8_t byte) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) {
        if (crc & 1u) {
            crc = static_cast<std::uint16_t>((crc >> 1) ^ 0xA001u);
        } else {
            crc = static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

namespace {
std::uint16_t FrameCrc(const std::uint8_t* frame, int length) {
    std::uint16_t crc = 0xFFFF;
    for (int i = 0; i < length - 2; ++i)
        crc = fn_CRC_8_bit(crc, frame[i]);
    return crc;
}
}  // namespace

int fn_Get_CRC(std::uint8_t* frame, int length) {
    if (length < 2) return 0;
    std::uint16_t crc = FrameCrc(frame, length);
    frame[length - 2] = static_cast<std::uint8_t>(crc & 0xFF);
    frame[length - 1] = static_cast<std::uint8_t>(crc >> 8);
    return 0;
}

int fn_Verify_CRC(const std::uint8_t* frame, int length) {
    if (length < 2) return -11;
    std::uint16_t crc = FrameCrc(frame, length);
    if (frame[length - 2] != (crc & 0xFF)) return -11;
    if (frame[length - 1] != (crc >> 8)) return -12;
    return 0;
}

}  // namespace conf
