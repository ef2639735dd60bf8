#include "scan/scan_log.h"

#include <sstream>

#include "log/format_one.h"
#include "log/log_errors.h"
#include "log/log_launch.h"
#include "platform/sys/paths.h"
#include "platform/sys/small_file.h"

namespace scan {

namespace {

// Far more than two switches with any white space a person puts around them.
constexpr std::size_t kSwitchFileBytes = 256;

template <class T>
int WriteIf(ScanContext& ctx, bool on, const char* format, T value) {
    if (!on) return 1;
    LogWriteAlways(ctx, conf::FormatOne(format, value));
    return 0;
}

int Report(ScanContext& ctx, const std::string& module, int tag, const std::string& text) {
    const std::string title = module + " :: " + std::to_string(tag);
    ctx.ui.MessagePopup(title, text);
    conf::WriteErrorReport(ctx.gpLog, title, text);
    return 0;
}

}  // namespace

int Log::init(ScanContext& ctx) {
    ctx.gvLogYN = 0;
    ctx.gvdbgYN = 0;
    // From here on, a log that cannot be created or written is said once.
    conf::SayLogFailureOnce(ctx.gpLog, ctx.ui);
    // Only a regular file holds switches, and only its start.
    std::string head;
    if (sys::ReadFileHead(kLogSwitchFileName, kSwitchFileBytes, &head) < 0) return 0;
    std::istringstream in(head);
    int first = 0, second = 0;
    if (in >> first) {
        ctx.gvLogYN = first;
        if (in >> second) ctx.gvdbgYN = second;
    }
    return 0;
}

int Log::Create(ScanContext& ctx) {
    ctx.gpLog.Open(kLogFileName, "w");
    return 0;
}

int Log::Close(ScanContext& ctx) {
    ctx.gpLog.Close();
    return 0;
}

int Log::Append(ScanContext& ctx) {
    ctx.gpLog.Open(kLogFileName, "a");
    return 0;
}

int Log::Clear(ScanContext& ctx) {
    Log::Close(ctx);
    return Log::Create(ctx);
}

int Log::Launch(ScanContext& ctx) {
    Log::Close(ctx);
    const std::string path = sys::JoinPath(sys::CurrentDir(), kLogFileName);
    std::string program;
    const int rc = conf::LaunchEditor(ctx.launcher, path, &program);
    Log::Append(ctx);
    if (rc < 0)
        LogWriteAlways(
            ctx, std::string(conf::kLogErrorMark) + " Launch editor fail : " + program + "\n\n");
    return 0;
}

int LogWriteAlways(ScanContext& ctx, const std::string& bytes) {
    return ctx.gpLog.Write(bytes);
}

int dbgi(ScanContext& ctx, const char* format, int value) {
    return WriteIf(ctx, ctx.gvdbgYN != 0, format, value);
}
int dbgf(ScanContext& ctx, const char* format, double value) {
    return WriteIf(ctx, ctx.gvdbgYN != 0, format, value);
}
int dbgs(ScanContext& ctx, const char* format, const std::string& value) {
    return WriteIf(ctx, ctx.gvdbgYN != 0, format, value.c_str());
}
int logi(ScanContext& ctx, const char* format, int value) {
    // logi alone asks for exactly 1; it reports "off" only for a switch of 0.
    if (ctx.gvLogYN == 1) return WriteIf(ctx, true, format, value);
    return ctx.gvLogYN == 0 ? 1 : 0;
}
int logs(ScanContext& ctx, const char* format, const std::string& value) {
    return WriteIf(ctx, ctx.gvLogYN != 0, format, value.c_str());
}
int logf(ScanContext& ctx, const char* format, double value) {
    return WriteIf(ctx, ctx.gvLogYN != 0, format, value);
}

int fn_err_Open_File(ScanContext& ctx, const std::string& module, int tag,
                     const std::string& fileName) {
    return Report(ctx, module, tag, "open file NG :: " + fileName);
}

int fn_err_Open_COM(ScanContext& ctx, const std::string& module, int tag, int code) {
    return Report(ctx, module, tag, "Open COM NG :: err code : " + std::to_string(code));
}

}  // namespace scan
