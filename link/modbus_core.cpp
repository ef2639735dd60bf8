#include "link/modbus_core.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "link/crc.h"
#include "log/modbus_trace.h"
#include "models/model.h"
#include "platform/serial/rs232.h"

namespace conf {

namespace {

// Big5 "★★★": the mark of an error line.
constexpr const char* kStars = "\xA1\xB9\xA1\xB9\xA1\xB9";

void Trace(LogStream* trace, const std::string& text) {
    if (trace) trace->Write(text);
}

std::string Printf(const char* format, int value) {
    char buf[128];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

// Expected answer length for the request, 0 for a code this engine does not take.
int ExpectedLength(const std::uint8_t* request, bool wide) {
    switch (request[1]) {
        case 3:
        case 4:
            return 2 * (request[4] * 256 + request[5]) + 5;
        case 5:
        case 6:
            return 8;
        case 9:
        case 16:
            return wide ? 8 : 0;
        default:
            return 0;
    }
}

// Everything up to the complete answer; the decoding is the caller's. Returns the engine's
// result, with the answer in *answer when it is 0.
int Transact(Context& ctx, int port, std::uint8_t* request, int length, bool wide, LogStream* trace,
             std::vector<std::uint8_t>* answer) {
    fn_Get_CRC(request, length);
    if (trace) fn_Log_Tx(ctx, port, request, length, trace);
    const int expected = ExpectedLength(request, wide);
    if (expected == 0) {
        ctx.ui.MessagePopup(ctx.Source("__Modbus_core"),
                            Printf("%d.6963 Un-defined Modbus OP", ctx.model.id.programNumber));
        return -1;
    }
    if (!ctx.com) return -555;  // no serial layer at all: as a port that cannot be flushed
    serial::Rs232& com = *ctx.com;
    if (com.FlushOutQ(port) < 0) return -555;
    if (com.FlushInQ(port) < 0) return -666;
    const int written = com.ComWrt(port, request, length);
    if (written != length) {
        Trace(trace,
              "\t" + std::string(kStars) + Printf(" COM write NG, err code: %d\n\n", written));
        Trace(trace, "\tcheck Help of LW.CVI\n");
        return -1000 - written;
    }
    // Some models need a moment before a multi-word answer.
    if (wide && ctx.model.transactions.wait32) ctx.ui.Delay(0.05);
    answer->assign(static_cast<size_t>(expected), 0);
    const int got = com.ComRd(port, answer->data(), expected);
    const std::string head = Printf("\tP%d", port) + "\tMB.Rx\t";
    if (got == expected) {
        if (fn_Verify_CRC(answer->data(), expected) != 0) return -1;
        if (trace) fn_Log_Rx(ctx, port, answer->data(), expected, trace);
        return 0;
    }
    if (got == 0) {
        Trace(trace, head + kStars + " COM read Time-out\n\n");
        return -2000;
    }
    if (got < 0) {
        Trace(trace, head + kStars + Printf(" COM read NG, err code: %d\n", got));
        Trace(trace, "\tcheck Help of LW.CVI\n");
        return -2000 - got;
    }
    std::string bytes;
    for (int i = 0; i < got; ++i)
        bytes += Printf("%02x ", (*answer)[static_cast<size_t>(i)]);
    Trace(trace, head + bytes + "\n");
    Trace(trace, "\t" + std::string(kStars) +
                     Printf(" Modbus201 : Exception 0930 occured after COM read, n=%d\n", got));
    Trace(trace, "\tPossibility :: If BAUD changed\n");
    Trace(trace, "\tPossibility :: If using [Ro] to read [R] memory\n");
    Trace(trace, "\tPossibility :: If using [Wram] or [Wee] to write [Ro] memory\n");
    Trace(trace, "\tReturn value of ComRd() is num of byte it received.\n");
    Trace(trace, "\n");
    return -2000 - got;
}

bool IsRead(const std::uint8_t* request) {
    return request[1] == 3 || request[1] == 4;
}

// Registers the request asked for.
size_t Asked(const std::uint8_t* request) {
    return static_cast<size_t>(request[4] * 256 + request[5]);
}

}  // namespace

int fn_Send_MB_MSG_16_A(Context& ctx, int port, std::uint8_t* request, int length,
                        std::span<std::int16_t> values, LogStream* trace) {
    std::vector<std::uint8_t> answer;
    int r = Transact(ctx, port, request, length, false, trace, &answer);
    if (r != 0 || !IsRead(request)) return r;
    size_t n = std::min({static_cast<size_t>(answer[2] / 2), Asked(request), values.size()});
    for (size_t i = 0; i < n; ++i)
        values[i] = static_cast<std::int16_t>(answer[3 + 2 * i] << 8 | answer[4 + 2 * i]);
    return 0;
}

int fn_Send_MB_MSG_32_A(Context& ctx, int port, std::uint8_t* request, int length,
                        std::span<std::int32_t> values, LogStream* trace) {
    std::vector<std::uint8_t> answer;
    int r = Transact(ctx, port, request, length, true, trace, &answer);
    if (r != 0 || !IsRead(request)) return r;
    size_t n = std::min({static_cast<size_t>(answer[2] / 4), Asked(request) / 2, values.size()});
    for (size_t i = 0; i < n; ++i) {
        std::uint32_t v = 0;
        for (size_t k = 0; k < 4; ++k)
            v = v << 8 | answer[3 + 4 * i + k];
        values[i] = static_cast<std::int32_t>(v);
    }
    return 0;
}

}  // namespace conf
