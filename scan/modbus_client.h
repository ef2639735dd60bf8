#pragma once
// Scan's Modbus client: one 8-byte request (codes 3, 4, 5, 6) at a time on port 222, up to
// three attempts, every exchange traced in the log. It runs the suite's shared transaction
// with Scan's choices: a 0.05 s wait before every read, the single-request trace layout, the
// error lines written whatever the trace switch says.

#include <cstdint>
#include <span>

#include "platform/sys/log_stream.h"
#include "scan/scan_context.h"

namespace scan {

// The most registers one read takes: the answer must fit the 512-byte reply buffer.
inline constexpr int kMaxReadRegisters = 253;

// Builds the request for station gvIDd, switches the trace on (gvLogYN = 1) and runs up to
// three transactions, stopping at the first that returns 0. Reads store their registers in
// values (may be empty for writes). Returns the last result, also left in gr.
int fn_Modbus_Device(ScanContext& ctx, int function, int reg, int data,
                     std::span<std::uint16_t> values = {});

// One transaction; frame holds `length` bytes, the last two receive the CRC. With
// traceSwitch 1 the request and answer lines go to log. Results as the shared transaction's
// (0, -1, -555, -666, -1000 - w, -2000, -2000 - c, -2000 - n); a read of more than
// kMaxReadRegisters registers is refused with -1 and a log line, nothing sent.
int fn_Send_MB_MSG_201_A(ScanContext& ctx, std::uint16_t port, std::uint8_t* frame, int length,
                         sys::LogStream* log, std::span<std::uint16_t> values, int traceSwitch);

// The trace lines in Scan's layout; 0, or -1 (with a popup) for a code other than 3-6.
int fn_Log_Tx(ScanContext& ctx, int port, const std::uint8_t* frame, int length,
              sys::LogStream* log);
int fn_Log_Rx(ScanContext& ctx, int port, const std::uint8_t* reply, int length,
              sys::LogStream* log);

}  // namespace scan
