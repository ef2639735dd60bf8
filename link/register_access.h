#pragma once
// Register access by address over the transaction engine: the request for the session's
// station, up to three attempts with the same bytes and no pause between them, the result of
// the last attempt made. Reads store at most as many values as the request asked for and
// `values` holds, whatever the answer's byte count claims.

#include <cstdint>
#include <span>

#include "link/transaction.h"

namespace conf {

inline constexpr int kAttempts = 3;

// One transaction of 16-bit registers (codes 3, 4, 5, 6); results as RunTransaction's.
int SendMessage16(const LinkSession& session, LinkObserver& observer,
                  const TransactionOptions& options, TraceStreams streams, std::uint8_t* request,
                  int length, std::span<std::int16_t> values);
// The same for 32-bit values, two registers each, high word first; codes 16 and 9 write one.
int SendMessage32(const LinkSession& session, LinkObserver& observer,
                  const TransactionOptions& options, TraceStreams streams, std::uint8_t* request,
                  int length, std::span<std::int32_t> values);

// Codes 3, 4: read countOrValue registers into values. Codes 5, 6: write countOrValue.
int DeviceRW16(const LinkSession& session, LinkObserver& observer,
               const TransactionOptions& options, TraceStreams streams, int code, int address,
               int countOrValue, std::span<std::int16_t> values);
// Codes 3, 4: read countOrValue 32-bit values (twice as many registers). Codes 16, 9: write
// the 32-bit countOrValue to two registers, high word first (a 13-byte request).
int DeviceRW32(const LinkSession& session, LinkObserver& observer,
               const TransactionOptions& options, TraceStreams streams, unsigned code, int address,
               int countOrValue, std::span<std::int32_t> values);

}  // namespace conf
