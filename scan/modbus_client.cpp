#include "scan/modbus_client.h"

#include <algorithm>
#include <vector>

#include "link/register_access.h"
#include "log/log_errors.h"
#include "log/modbus_trace.h"
#include "scan/scan_link.h"

namespace scan {

namespace {

// The instrument needs a moment before its answer can be read.
constexpr double kWaitBeforeRead = 0.05;

conf::TransactionOptions ScanOptions() {
    conf::TransactionOptions options;
    options.multiWord = false;
    options.waitBeforeRead = kWaitBeforeRead;
    options.style = conf::TraceStyle::SingleRequest;
    options.refusedTitle = "Modbus105 :: 105.6963";
    options.refusedText = "Un-defined Modbus OP";
    return options;
}

bool IsRead(const std::uint8_t* frame) {
    return frame[1] == 3 || frame[1] == 4;
}

}  // namespace

int fn_Send_MB_MSG_201_A(ScanContext& ctx, std::uint16_t port, std::uint8_t* frame, int length,
                         sys::LogStream* log, std::span<std::uint16_t> values, int traceSwitch) {
    if (length < 8) return -1;
    const int asked = frame[4] * 256 + frame[5];
    if (IsRead(frame) && asked > kMaxReadRegisters) {
        // The answer would not fit the reply buffer: refuse before anything goes out.
        if (log)
            log->Printf("\t%s Modbus201 : %d registers asked, at most %d\n\n", conf::kLogErrorMark,
                        asked, kMaxReadRegisters);
        return -1;
    }
    std::vector<std::uint8_t> answer;
    conf::TraceObserver observer = ScanObserver(ctx);
    conf::LinkSession session = SessionOf(ctx);
    session.port = port;
    session.echo = ctx.com.Config(port).echo;
    const int r =
        conf::RunTransaction(session, observer, ScanOptions(),
                             {traceSwitch == 1 ? log : nullptr, log}, frame, length, &answer);
    if (r != 0 || !IsRead(frame)) return r;
    // Registers as the byte count says, never past what was asked for or the caller's array.
    const size_t n =
        std::min({static_cast<size_t>(answer[2] / 2), static_cast<size_t>(asked), values.size()});
    for (size_t i = 0; i < n; ++i)
        values[i] = static_cast<std::uint16_t>(answer[3 + 2 * i] << 8 | answer[4 + 2 * i]);
    return 0;
}

int fn_Modbus_Device(ScanContext& ctx, int function, int reg, int data,
                     std::span<std::uint16_t> values) {
    std::uint8_t frame[8] = {static_cast<std::uint8_t>(ctx.gvIDd),
                             static_cast<std::uint8_t>(function),
                             static_cast<std::uint8_t>(reg >> 8 & 0xFF),
                             static_cast<std::uint8_t>(reg & 0xFF),
                             static_cast<std::uint8_t>(data >> 8 & 0xFF),
                             static_cast<std::uint8_t>(data & 0xFF),
                             0,
                             0};
    // Every exchange of Scan is traced, whatever the switch file said.
    ctx.gvLogYN = 1;
    int r = -1;
    for (int attempt = 0; attempt < conf::kAttempts; ++attempt) {
        r = fn_Send_MB_MSG_201_A(ctx, kPort222, frame, 8, &ctx.gpLog, values, ctx.gvLogYN);
        if (r == 0) break;
    }
    ctx.gr = r;
    return r;
}

int fn_Log_Tx(ScanContext& ctx, int port, const std::uint8_t* frame, int length,
              sys::LogStream* log) {
    return conf::fn_Log_Tx(ctx.ui, port, frame, length, log, conf::TraceStyle::SingleRequest);
}

int fn_Log_Rx(ScanContext& ctx, int port, const std::uint8_t* reply, int length,
              sys::LogStream* log) {
    return conf::fn_Log_Rx(ctx.ui, port, reply, length, log, conf::TraceStyle::SingleRequest);
}

}  // namespace scan
