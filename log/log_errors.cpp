#include "log/log_errors.h"

#include <cstdio>
#include <cstring>

#include "lang/status_line.h"
#include "log/event_log.h"
#include "platform/sys/paths.h"

namespace conf {

namespace {

std::string Title(const std::string& source, int code) {
    return source + " :: " + std::to_string(code);
}

void LogReport(Context& ctx, const std::string& title, const std::string& text) {
    WriteErrorReport(ctx.gpLog, title, text);
}

int FileReport(Context& ctx, const std::string& title, const std::string& text) {
    ctx.ui.MessagePopup(title, text);
    LogReport(ctx, title, text);
    return 0;
}

}  // namespace

void WriteErrorReport(sys::LogStream& log, const std::string& title, const std::string& text) {
    const std::string mark = kLogErrorMark;
    log.Write(mark + " " + title + " \n");
    log.Write(mark + " " + text + " \n\n");
}

void WriteFileProblem(sys::LogStream& log, const std::string& fileName,
                      const std::string& problem) {
    log.Write(std::string(kLogErrorMark) + " " + fileName + " :: " + problem + " \n\n");
}

std::string LogFailureText(sys::LogStream::Failure what, const std::string& path, int error) {
    const std::string shown =
        !path.empty() && path[0] == '/' ? path : sys::JoinPath(sys::CurrentDir(), path);
    return std::string(what == sys::LogStream::Failure::kOpen ? "Cannot create" : "Cannot write") +
           " log file " + shown + ": " + std::strerror(error);
}

void SayLogFailureOnce(sys::LogStream& log, ui::Runtime& ui) {
    log.OnFirstFailure([&ui](sys::LogStream::Failure what, const std::string& path, int error) {
        const std::string text = LogFailureText(what, path, error);
        std::fprintf(stderr, "%s\n", text.c_str());
        std::fflush(stderr);
        ui.MessagePopup(kLogFailureTitle, text);
    });
}

int Log::err_Open_File(Context& ctx, const std::string& source, int code,
                       const std::string& fileName) {
    return FileReport(ctx, Title(source, code), "open file NG :: " + fileName);
}

int Log::err_Write_File(Context& ctx, const std::string& source, int code,
                        const std::string& fileName) {
    return FileReport(ctx, Title(source, code), "write file NG :: " + fileName);
}

int Log::err_Open_COM(Context& ctx, const std::string& source, int code, int error) {
    const std::string title = Title(source, code);
    const std::string text = "Open COM NG :: err code : " + std::to_string(error);
    LogReport(ctx, title, text);
    msg_cfg::SCV(ctx, kMsgRed, text);
    return 0;
}

}  // namespace conf
