#include "monitor/pv_record.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "lang/status_line.h"
#include "log/event_log.h"
#include "log/log_errors.h"
#include "models/model.h"
#include "monitor/pv_display.h"
#include "platform/sys/file_replacement.h"
#include "platform/sys/launch.h"
#include "platform/sys/paths.h"
#include "platform/sys/small_file.h"
#include "platform/ui/constants.h"

namespace conf {

namespace {

namespace fs = std::filesystem;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

int RecordItem(Context& ctx, int* menuBar) {
    *menuBar = ctx.ui.GetPanelMenuBar(ctx.gvMain);
    return ctx.ui.FindMenuItem(*menuBar, "PV_RECORD");
}

bool MakeFolder() {
    const int r = sys::MakeDir(kPvRecordDir);
    return r == sys::kMakeDirCreated || r == sys::kMakeDirExisted;
}

// Said once per run of failures: a poll a second must not fill the log with the same line.
int RecordNg(Context& ctx, const std::string& path) {
    if (!ctx.pvRecordFailing) {
        ctx.pvRecordFailing = true;
        LogWriteAlways(ctx, std::string(kLogErrorMark) + " " + ctx.model.id.pvRecordWriter +
                                " :: cannot write " + path + "\n");
        msg_cfg::SCV(ctx, kMsgRed, kMsgRecordNg);
    }
    return -1;
}

}  // namespace

std::string Make_TIME_string(Context& ctx) {
    return Make_TIME_string(ctx.clock().LocalNow());
}

std::string Make_TIME_string(const sys::DateTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return text;
}

std::string fn_PV_Record_Name(Context& ctx) {
    return fn_PV_Record_Name(ctx, ctx.clock().LocalNow());
}

std::string fn_PV_Record_Name(Context& ctx, const sys::DateTime& t) {
    char name[96];
    std::snprintf(name, sizeof name, ctx.model.id.pvRecordNameFormat, t.year, t.month, t.day,
                  t.hour);
    return name;
}

int Make_Record_print_title(const std::string& path) {
    // Whole or not at all: a record cut inside its title would be appended to as it is.
    sys::FileReplacement f(path);
    if (!f.opened() || std::fputs(kPvRecordTitle, f.get()) < 0) return -1;
    return f.Commit();
}

int PV_Record(Context& ctx) {
    return PV_Record(ctx, ctx.clock().LocalNow());
}

int PV_Record(Context& ctx, const sys::DateTime& at) {
    const std::string path = std::string(kPvRecordDir) + "/" + fn_PV_Record_Name(ctx, at);
    if (!MakeFolder()) return RecordNg(ctx, kPvRecordDir);
    std::error_code ec;
    if (!fs::exists(path, ec) && Make_Record_print_title(path) < 0) return RecordNg(ctx, path);
    // Never waits: a FIFO at the record's name is a record that cannot be written.
    File f{sys::OpenForWriting(path, true)};
    if (!f) return RecordNg(ctx, path);
    const std::string line = Make_TIME_string(at) + "\t" + MSPV_V::GV(ctx) + "\t\n";
    const bool written = std::fputs(line.c_str(), f.get()) >= 0;
    // A full disk shows only when the line leaves the buffer.
    if (std::fclose(f.release()) != 0 || !written) return RecordNg(ctx, path);
    ctx.pvRecordFailing = false;
    ctx.pvLastRecord = at;
    return 0;
}

bool fn_PV_Recording(Context& ctx) {
    int menuBar = 0;
    const int item = RecordItem(ctx, &menuBar);
    int checked = 0;
    if (item > 0) ctx.ui.GetMenuBarAttribute(menuBar, item, ui::ATTR_CHECKED, &checked);
    return checked != 0;
}

int Enable_PV_logs_F(Context& ctx, int menuBar, int item, void*, int) {
    int checked = 0;
    ctx.ui.GetMenuBarAttribute(menuBar, item, ui::ATTR_CHECKED, &checked);
    ctx.ui.SetMenuBarAttribute(menuBar, item, ui::ATTR_CHECKED, checked ? 0 : 1);
    return 0;
}

int Open_PV_logs_F(Context& ctx, int, int, void*, int) {
    if (!MakeFolder()) {
        LogWriteAlways(ctx, std::string(kLogErrorMark) + " cannot make " + kPvRecordDir + "\n");
        msg_cfg::SCV(ctx, kMsgRed, "Cannot open folder PV Record");
        return -1;
    }
    std::error_code ec;
    const fs::path folder = fs::canonical(kPvRecordDir, ec);
    const int r = ec ? -1 : sys::OpenWithDesktop(ctx.launcher, folder.string());
    if (r < 0) {
        LogWriteAlways(ctx, std::string(kLogErrorMark) + " cannot open " + kPvRecordDir +
                                " in the file manager\n");
        msg_cfg::SCV(ctx, kMsgRed, "Cannot open folder PV Record");
    }
    return r < 0 ? r : 0;
}

}  // namespace conf
