#include "link/modbus_core.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "link/transaction.h"
#include "models/model.h"

namespace conf {

namespace {

std::string Printf(const char* format, int value) {
    char buf[128];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

// The shared transaction with the configurator's choices: trace and error lines to the same
// stream, the model's wait before a multi-word answer.
int Transact(Context& ctx, int port, std::uint8_t* request, int length, bool wide, LogStream* trace,
             std::vector<std::uint8_t>* answer) {
    TransactionOptions options;
    options.multiWord = wide;
    // Some models need a moment before a multi-word answer.
    options.waitBeforeRead = wide && ctx.model.transactions.wait32 ? 0.05 : 0.0;
    options.style = TraceStyle::Paired;
    options.refusedTitle = ctx.Source("__Modbus_core");
    options.refusedText = Printf("%d.6963 Un-defined Modbus OP", ctx.model.id.programNumber);
    return RunTransaction(TransactionLine{ctx.ui, ctx.com, port, trace, trace}, options, request,
                          length, answer);
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
