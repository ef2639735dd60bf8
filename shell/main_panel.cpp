#include "shell/main_panel.h"

#include <cstdio>

#include "lang/panel_language.h"
#include "log/event_log.h"
#include "log/log_launch.h"
#include "models/model.h"
#include "monitor/trend.h"
#include "nav/tab.h"
#include "params/input.h"
#include "params/linear.h"
#include "params/rules.h"
#include "session/uart.h"
#include "shell/group_callbacks.h"
#include "transfer/read_all.h"
#include "transfer/serial_write.h"

namespace conf {

int About_menu::init(Context& ctx, int* menuBar, int* item) {
    *menuBar = ctx.ui.GetPanelMenuBar(ctx.gvMain);
    *item = ctx.ui.FindMenuItem(*menuBar, "ABOUT");
    return 0;
}

int About_menu::SV(Context& ctx, const std::string& text) {
    int menuBar = 0, item = 0;
    About_menu::init(ctx, &menuBar, &item);
    ctx.ui.SetMenuBarAttribute(menuBar, item, ui::ATTR_ITEM_NAME, text);
    return 0;
}

int MainPanel::init(Context& ctx) {
    Log::init(ctx);
    int panel = ctx.ui.LoadPanel(0, ctx.model.id.panelResource, ctx.model.id.panelName);
    if (panel < 0) {
        // Nothing can be shown without the panel: say why where a technician will look.
        ctx.gpLog.Printf("Load panel NG :: %s\n\n", ctx.ui.LastError().c_str());
        ctx.gpLog.Flush();
        std::fprintf(stderr, "%s\n", ctx.ui.LastError().c_str());
        return panel;
    }
    ctx.gvMain = panel;
    ctx.msgCtrl = ctx.ui.FindCtrl(panel, "MSG");
    TAB::Get_Page_Handle(ctx);
    // Captions in the scanner's language before anything shows; the status line stays English.
    LangS::RF(ctx);
    LangS::Char_Set(ctx);
    LangS::Refresh(ctx);
    Trend::init(ctx);
    // A link that does not come up is reported and start-up goes on: the panel still shows.
    UART::init(ctx);
    const StartUp& plan = ctx.model.startUp;
    if (plan.groupCallbacks) {
        TYPE_cfg::CALLBACK(ctx);
        LinSig_cfg::CALLBACK(ctx);
        IC_B::CALLBACK(ctx);
        ICSP::CALLBACK(ctx);
    }
    // The pages show what the instrument holds; a failed read leaves the resource defaults
    // and says so on the status line, and the program still comes up.
    if (plan.readBeforeShow) {
        Para_Fr_Dev::onClick(ctx);
        fn_Affect_by_DIGIT_0(ctx);
    }
    SN_V_I::Today_init(ctx);
    About_menu::SV(ctx, ctx.model.id.aboutCaption);
    ctx.ui.DisplayPanel(ctx.gvMain);
    if (!plan.readBeforeShow) {
        Para_Fr_Dev::onClick(ctx);
        fn_Affect_by_DIGIT_0(ctx);
    }
    return 0;
}

int MainPanel::exit(Context& ctx) {
    ctx.ui.QuitUserInterface(1);
    // No trace left open and no second window left behind.
    ctx.gpCAL.Close();
    if (ctx.gvTrend > 0) ctx.ui.DiscardPanel(ctx.gvTrend);
    ctx.gvTrend = -1;  // a tick still on its way must not load it again
    ctx.ui.DiscardPanel(ctx.gvMain);
    return 0;
}

int RunConfigurator(Context& ctx) {
    if (MainPanel::init(ctx) < 0) return 1;
    ctx.ui.RunUserInterface();
    return ctx.exitCode.value_or(0);
}

int evMain(Context& ctx, int, int event, void*, int data1, int) {
    if (event == ui::EVENT_CLOSE) {
        MainPanel::exit(ctx);
    } else if (event == ui::EVENT_KEYPRESS) {
        if (data1 == '`') {
            MainPanel::exit(ctx);
        } else if (data1 == ui::VAL_ESC_VKEY) {
            Log::Launch(ctx);
        } else if (data1 == ui::VAL_F2_VKEY) {
            TAB::Toggle_CFG_CAL(ctx);
        }
    }
    return 0;
}

int evExit(Context& ctx, int, int, void*, int) {
    return MainPanel::exit(ctx);
}

// The version is the item's own caption; choosing it does nothing.
int evAbout(Context&, int, int, void*, int) {
    return 0;
}

int evForm(Context&, int, int, int, void*, int, int) {
    return 0;
}

}  // namespace conf
