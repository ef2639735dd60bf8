#include "shell/start_scan.h"

#include "log/event_log.h"
#include "nav/focus.h"
#include "platform/ui/constants.h"
#include "shell/main_panel.h"

namespace conf {

namespace {

constexpr const char* kScanProgram = "Scan.exe";
// Three Big5 full blocks lead the line.
constexpr const char* kLaunchFailLine = "\xA2\x69\xA2\x69\xA2\x69 Launch Scan.exe fail\n\n";
constexpr const char* kLaunchFailText = "Launch Scan.exe fail";

}  // namespace

int evStart(Context& ctx, int, int, void*, int) {
    MainPanel::exit(ctx);
    // The scanner empties the log when it starts: what this run wrote must be on disk before,
    // or it would land in the scanner's fresh log when this program ends.
    ctx.gpLog.Flush();
    if (ctx.launcher.Launch(kScanProgram, {}) < 0) {
        LogWriteAlways(ctx, kLaunchFailLine);
        ctx.gpLog.Flush();
        ctx.ui.MessagePopup("", kLaunchFailText);
    }
    ctx.exitCode = 0;
    return 0;
}

int evScanDev(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event != ui::EVENT_COMMIT) return fn_Enter_to_Next(ctx, panel, control, event, data1);
    return evStart(ctx, 0, 0, nullptr, panel);
}

}  // namespace conf
