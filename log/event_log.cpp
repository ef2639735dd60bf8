#include "log/event_log.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "log/format_one.h"
#include "log/log_errors.h"
#include "models/model.h"
#include "platform/sys/small_file.h"

namespace conf {

namespace {

// Far more than two switches with any white space a person puts around them.
constexpr std::size_t kSwitchFileBytes = 256;

template <class T>
int WriteIf(Context& ctx, int enabled, const char* format, T value) {
    if (enabled != 1) return 1;
    LogWriteAlways(ctx, FormatOne(format, value));
    return 0;
}

// Two decimal integers separated by white space at the start of text.
bool ParseTwoInts(const std::string& text, long* first, long* second) {
    const char* p = text.c_str();
    char* end = nullptr;
    *first = std::strtol(p, &end, 10);
    if (end == p || !std::isspace(static_cast<unsigned char>(*end))) return false;
    p = end;
    *second = std::strtol(p, &end, 10);
    return end != p;
}

}  // namespace

int LogWriteAlways(Context& ctx, const std::string& bytes) {
    // The stream flushes each write, so the log holds everything up to a crash or a kill.
    return ctx.gpLog.Write(bytes);
}

int Log::init(Context& ctx) {
    // Only a regular file holds switches, and only its start: a FIFO, a folder or an endless
    // device at the name turns both off, as a missing file does.
    std::string content;
    sys::ReadFileHead(kLogSwitchFileName, kSwitchFileBytes, &content);
    long logSwitch = 0;
    long dbgSwitch = 0;
    if (!ParseTwoInts(content, &logSwitch, &dbgSwitch)) logSwitch = dbgSwitch = 0;
    ctx.gvLogYN = logSwitch == 1 ? 1 : 0;
    ctx.gvdbgYN = dbgSwitch == 1 ? 1 : 0;

    SayLogFailureOnce(ctx.gpLog, ctx.ui);
    Log::Append(ctx);
    logs(ctx, "%s\n\n", "=================================================");
    if (ctx.model.transactions.logYNLine)
        LogWriteAlways(ctx, FormatOne("gvLogYN = %d \n", ctx.gvLogYN));
    return 0;
}

int Log::Create(Context& ctx) {
    ctx.gpLog.Open(kLogFileName, "w");
    return 0;
}

int Log::Close(Context& ctx) {
    ctx.gpLog.Close();
    return 0;
}

int Log::Append(Context& ctx) {
    // Open closes a stream already open, so the file never has two writers.
    ctx.gpLog.Open(kLogFileName, "a");
    return 0;
}

int Log::Clear(Context& ctx) {
    Log::Close(ctx);
    return Log::Create(ctx);
}

int logi(Context& ctx, const char* format, int value) {
    return WriteIf(ctx, ctx.gvLogYN, format, value);
}
int logs(Context& ctx, const char* format, const std::string& value) {
    return WriteIf(ctx, ctx.gvLogYN, format, value.c_str());
}
int logf(Context& ctx, const char* format, double value) {
    return WriteIf(ctx, ctx.gvLogYN, format, value);
}
int dbgi(Context& ctx, const char* format, int value) {
    return WriteIf(ctx, ctx.gvdbgYN, format, value);
}
int dbgs(Context& ctx, const char* format, const std::string& value) {
    return WriteIf(ctx, ctx.gvdbgYN, format, value.c_str());
}
int dbgf(Context& ctx, const char* format, double value) {
    return WriteIf(ctx, ctx.gvdbgYN, format, value);
}

}  // namespace conf
