#include "batch/configurator_batch.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "apps/run_tree_start.h"
#include "batch/batch_workdir.h"
#include "core/context.h"
#include "link/port_settings.h"
#include "models/model.h"
#include "models/registry.h"
#include "monitor/pv_display.h"
#include "monitor/pv_poll.h"
#include "monitor/pv_record.h"
#include "platform/serial/com_map.h"
#include "platform/serial/rs232.h"
#include "platform/serial/system_backend.h"
#include "platform/sys/launch.h"
#include "platform/ui/batch_front_end.h"
#include "platform/ui/constants.h"
#include "platform/ui/model.h"
#include "platform/ui/runtime.h"
#include "shell/callbacks.h"
#include "shell/main_panel.h"
#include "shell/model_check.h"
#include "transfer/param_file.h"
#include "transfer/range_check.h"
#include "transfer/write_all.h"

namespace batch {

namespace {

std::string StatusText(conf::Context& ctx) {
    std::string text;
    ctx.ui.GetCtrlVal(ctx.gvMain, ctx.msgCtrl, &text);
    return text;
}

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string PortName(conf::Context& ctx) {
    return ctx.gvCOM > 0 ? "COM" + std::to_string(ctx.gvCOM) : std::string("the port");
}

int Fail(const conf::Model& model, int status, const std::string& text) {
    // Over the progress line, when one is shown.
    if (::isatty(STDERR_FILENO)) std::fputs("\r\x1b[K", stderr);
    std::fprintf(stderr, "%s: %s\n", model.id.programName, text.c_str());
    return status;
}

// The status line and the progress counter, as the window shows them, on one line of a
// terminal that is rewritten in place ("Writing 12"); nothing when stderr is not a terminal.
class Progress {
  public:
    Progress(conf::Context& ctx, ui::BatchFrontEnd& frontEnd) : ctx_(ctx) {
        if (!::isatty(STDERR_FILENO)) return;
        frontEnd.SetControlWatcher([this](int panel, int control) { Changed(panel, control); });
    }
    ~Progress() {
        if (shown_) std::fputs("\r\x1b[K", stderr);
    }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

  private:
    void Changed(int panel, int control) {
        if (panel != ctx_.gvMain || ctx_.gvMain <= 0) return;
        const auto& names = ctx_.model.catalogue.ccGICNT;
        if (counter_ == 0 && !names.empty()) counter_ = ctx_.ui.FindCtrl(ctx_.gvMain, names[0]);
        if (control != ctx_.msgCtrl && control != counter_) return;
        std::fprintf(stderr, "\r\x1b[K%s %d", StatusText(ctx_).c_str(), ctx_.giCNT);
        std::fflush(stderr);
        shown_ = true;
    }
    conf::Context& ctx_;
    int counter_ = 0;
    bool shown_ = false;
};

// The role names of the controls the range check marked red, "FILT, A1SP".
std::string MarkedRed(conf::Context& ctx) {
    std::string names;
    for (int panel : {ctx.gvCFG, ctx.gvMain}) {
        const ui::Panel* p = ctx.ui.GetPanel(panel);
        if (!p) continue;
        for (const ui::Control& c : p->controls) {
            if (c.textBgColor != ui::VAL_RED || c.name.empty()) continue;
            names += (names.empty() ? "" : ", ") + c.name;
        }
    }
    return names;
}

int Save(conf::Context& ctx, const std::string& file) {
    int menuBar = ctx.ui.GetPanelMenuBar(ctx.gvMain);
    const int r = conf::evParaToFile(ctx, menuBar, 0, nullptr, ctx.gvMain);
    if (r < 0) return Fail(ctx.model, kExitFile, file + ": " + StatusText(ctx));
    return kExitDone;
}

int LoadWrite(conf::Context& ctx, const std::string& file) {
    int menuBar = ctx.ui.GetPanelMenuBar(ctx.gvMain);
    const int r = conf::evParaFrFile(ctx, menuBar, 0, nullptr, ctx.gvMain);
    const std::string status = StatusText(ctx);
    if (r < 0) return Fail(ctx.model, kExitFile, file + ": " + status);
    // A refused file leaves the pages as read: nothing may be written then.
    if (status == conf::kMsgFileFormat || status == conf::kMsgFileHw)
        return Fail(ctx.model, kExitFile, file + ": " + status);
    const int oor = conf::Para_To_Dev::Check_OOR(ctx);
    if (oor < 0) {
        const std::string names = MarkedRed(ctx);
        return Fail(ctx.model, kExitFile,
                    file + ": Out of Range: " + std::to_string(-oor) + " value(s) outside " +
                        "their range" + (names.empty() ? "" : " (" + names + ")") +
                        ", nothing written");
    }
    const int w = conf::evParaToDev(ctx, menuBar, 0, nullptr, ctx.gvMain);
    if (w < 0) return Fail(ctx.model, kExitLink, PortName(ctx) + ": " + StatusText(ctx));
    return kExitDone;
}

int Watch(conf::Context& ctx, ui::BatchFrontEnd& frontEnd, const Options& options) {
    if (options.record) {
        const int menuBar = ctx.ui.GetPanelMenuBar(ctx.gvMain);
        const int item = ctx.ui.FindMenuItem(menuBar, "PV_RECORD");
        if (item > 0 && !conf::fn_PV_Recording(ctx))
            conf::Enable_PV_logs_F(ctx, menuBar, item, nullptr, ctx.gvMain);
    }
    if (conf::Menu_PV_Read::Toggle(ctx) < 0)
        return Fail(ctx.model, kExitLink, PortName(ctx) + ": " + StatusText(ctx));
    const int timer = ctx.ui.FindCtrl(ctx.gvMain, "MSPV_T");
    int failed = 0, polls = 0;
    frontEnd.RunFor(options.seconds, [&](int panel, int control) {
        const sys::DateTime began = ctx.clock().LocalNow();
        const int count = ctx.giCNT;
        ctx.ui.TimerTick(panel, control);
        // A tick that polled nothing (one let go after a slow poll) prints nothing.
        if (panel != ctx.gvMain || control != timer || ctx.giCNT == count) return;
        const std::string status = StatusText(ctx);
        if (status == "Read NG") ++failed;
        ++polls;
        std::printf("%s\t%s\t%s\n", conf::Make_TIME_string(began).c_str(),
                    Trimmed(conf::MSPV_V::GV(ctx)).c_str(), status.c_str());
        std::fflush(stdout);
    });
    conf::MSPV_B::END(ctx);
    if (polls > 0 && failed == polls)
        return Fail(ctx.model, kExitLink, PortName(ctx) + ": Read NG (no poll answered)");
    return kExitDone;
}

}  // namespace

int RunConfiguratorBatch(const Options& options, const conf::Model& model,
                         const volatile std::sig_atomic_t* stop) {
    const char* program = model.id.programName;
    // FILE is relative to where the command was given, whatever folder the run works in.
    std::error_code ec;
    const std::string file =
        options.file.empty() ? "" : std::filesystem::absolute(options.file, ec).string();
    ui::BatchFrontEnd frontEnd(program, stop);
    frontEnd.SetFileAnswer(file);
    ui::CallbackRegistry registry;
    ui::Runtime runtime(frontEnd, registry);
    if (StartInRunTree(program, runtime) < 0) return kExitFile;
    std::string error;
    if (EnterWorkdir(options.workdir, runtime, &error) < 0) return Fail(model, kExitFile, error);
    const serial::ComMapEnv env = serial::SystemComMapEnv();
    if (PreparePortSettings(options.port, env, &error) < 0)
        return Fail(model, error.rfind("port", 0) == 0 ? kExitLink : kExitFile, error);

    sys::SystemLauncher launcher(conf::SuitePrograms());
    serial::SystemBackend backend;
    serial::Rs232 com(backend, env);
    conf::Context ctx(runtime, launcher, model);
    ctx.com = &com;
    ctx.stop = stop;
    // A descriptor that does not hold together stops the run before the port is opened.
    if (conf::Model_Check::Descriptor(model, &error) < 0) return Fail(model, kExitModel, error);
    if (conf::RegisterCallbacks(ctx, registry) < 0) return kExitFile;
    if (conf::Model_Check::Panel(ctx, &error) < 0) return Fail(model, kExitModel, error);
    int status = kExitDone;
    {
        Progress progress(ctx, frontEnd);
        // The window's start-up: link start, recovery, read-all; nothing is shown.
        if (conf::MainPanel::init(ctx) < 0) return kExitFile;
        if (ctx.gr < 0) {
            status = Fail(model, kExitLink, PortName(ctx) + ": " + StatusText(ctx));
        } else if (options.action == Action::Save) {
            status = Save(ctx, file);
        } else if (options.action == Action::LoadWrite) {
            status = LoadWrite(ctx, file);
        } else if (options.action == Action::Watch) {
            // The lines on stdout are the progress of a watch.
            frontEnd.SetControlWatcher({});
            status = Watch(ctx, frontEnd, options);
        }
    }
    conf::MainPanel::exit(ctx);
    // Whatever the step under way made of it, an interrupted run is not done.
    if (frontEnd.Stopped()) return Fail(model, kExitLink, "stopped (Ctrl+C), port closed");
    return status;
}

}  // namespace batch
