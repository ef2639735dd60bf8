#pragma once
// CRC-16/MODBUS of RTU frames: start 0xFFFF, reflected polynomial 0xA001, sent low byte first.

#include <cstdint>

namespace conf {

// One byte step of the checksum.
std::uint16_t fn_CRC_8_bit(std::uint16_t crc, std::uint8_t byte);
// Stores the CRC of the first length - 2 bytes in the last two: low byte, then high byte.
// `length` is the whole frame length with the CRC. Returns 0.
int fn_Get_CRC(std::uint8_t* frame, int length);
// 0 when the last two bytes hold the CRC of the others; -11 when the low byte differs, -12
// when only the high byte does.
int fn_Verify_CRC(const std::uint8_t* frame, int length);

}  // namespace conf
