#pragma once
// Register access by address: the request for the station now on the main panel, up to three
// attempts, the result of the last one returned and left in gr. The plain calls trace to the
// event log, the _CAL calls to the calibration trace.

#include <cstdint>
#include <span>

#include "core/context.h"

namespace conf {

// Codes 3, 4: read countOrValue registers into values. Codes 5, 6: write countOrValue.
int fn_Modbus_Device_RW_16(Context& ctx, int code, int address, int countOrValue,
                           std::span<std::int16_t> values = {});
int fn_Modbus_Device_RW_16_CAL(Context& ctx, int code, int address, int countOrValue,
                               std::span<std::int16_t> values = {});
// Codes 3, 4: read countOrValue 32-bit values (twice as many registers). Codes 16, 9: write
// the 32-bit countOrValue to two registers, high word first.
int fn_Modbus_Device_RW_32(Context& ctx, unsigned code, int address, int countOrValue,
                           std::span<std::int32_t> values = {});
int fn_Modbus_Device_RW_32_CAL(Context& ctx, unsigned code, int address, int countOrValue,
                               std::span<std::int32_t> values = {});

}  // namespace conf
