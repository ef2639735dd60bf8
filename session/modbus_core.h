#pragma once
// One Modbus transaction: seal and trace the request, write it, read the answer of the length
// the request implies, check its CRC, trace and decode it. No retries here.
//
// Results: 0 success; -1 undefined function code (popup, nothing sent) or bad CRC; -555 / -666
// the output / input queue could not be flushed; -1000 - n the write took n bytes instead of
// the whole frame; -2000 silence; -2000 - n a read error n (negative) or a partial answer of
// n bytes (a Modbus exception answer arrives this way).

#include <cstdint>
#include <span>

#include "core/context.h"
#include "link/transaction.h"

namespace conf {

// The configurator engine's choices: codes 16 and 9 only in the 32-bit engine, the model's
// wait before a multi-word answer, the paired trace, the popup for a refused code.
TransactionOptions EngineOptions(Context& ctx, bool wide);

// `request` has every byte but the CRC filled; `length` counts the CRC. Reads store at most
// as many values as the request asked for and `values` holds, whatever the answer's byte
// count claims.
int fn_Send_MB_MSG_16_A(Context& ctx, int port, std::uint8_t* request, int length,
                        std::span<std::int16_t> values, sys::LogStream* trace);
// The same for 32-bit values (two registers each, high word first); also takes code 16 and 9.
int fn_Send_MB_MSG_32_A(Context& ctx, int port, std::uint8_t* request, int length,
                        std::span<std::int32_t> values, sys::LogStream* trace);

}  // namespace conf
