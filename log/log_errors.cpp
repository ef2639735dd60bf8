#include "log/log_errors.h"

#include "lang/status_line.h"
#include "log/event_log.h"

namespace conf {

namespace {

std::string Title(const std::string& source, int code) {
    return source + " :: " + std::to_string(code);
}

void LogReport(Context& ctx, const std::string& title, const std::string& text) {
    WriteErrorReport(ctx.gpLog, title, text);
}

}  // namespace

void WriteErrorReport(LogStream& log, const std::string& title, const std::string& text) {
    const std::string mark = kLogErrorMark;
    log.Write(mark + " " + title + " \n");
    log.Write(mark + " " + text + " \n\n");
}

int Log::err_Open_File(Context& ctx, const std::string& source, int code,
                       const std::string& fileName) {
    const std::string title = Title(source, code);
    const std::string text = "open file NG :: " + fileName;
    ctx.ui.MessagePopup(title, text);
    LogReport(ctx, title, text);
    return 0;
}

int Log::err_Open_COM(Context& ctx, const std::string& source, int code, int error) {
    const std::string title = Title(source, code);
    const std::string text = "Open COM NG :: err code : " + std::to_string(error);
    LogReport(ctx, title, text);
    msg_cfg::SCV(ctx, kMsgRed, text);
    return 0;
}

}  // namespace conf
