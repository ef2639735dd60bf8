#include "scan/shell.h"

#include <cstdio>

#include "scan/com_discovery.h"
#include "scan/language.h"
#include "scan/scan_dev.h"
#include "scan/scan_log.h"

namespace scan {

int G1__init(ScanContext& ctx) {
    Log::init(ctx);
    Log::Create(ctx);
    const int panel = ctx.ui.LoadPanel(0, kG1Resource, kG1Panel);
    if (panel < 0) {
        // Nothing can be shown without the panel: say why where a technician will look.
        LogWriteAlways(ctx, "Load panel NG :: " + ctx.ui.LastError() + "\n\n");
        std::fprintf(stderr, "%s\n", ctx.ui.LastError().c_str());
        return panel;
    }
    ctx.gvG1 = panel;
    ctx.ui.GetPanelHandleFromTabPage(panel, ctx.ui.FindCtrl(panel, "TAB"), 0, &ctx.gvtpScan);
    const int menuBar = ctx.ui.GetPanelMenuBar(panel);
    ctx.ui.SetMenuBarAttribute(menuBar, ctx.ui.FindMenuItem(menuBar, "VERSION"), ui::ATTR_ITEM_NAME,
                               kVersionCaption);
    LangS::RF(ctx);
    LangS::Char_Set(ctx);
    LangS::Refresh(ctx);
    ctx.ui.DisplayPanel(panel);
    ctx.ui.SetActiveCtrl(ctx.gvtpScan, ctx.ui.FindCtrl(ctx.gvtpScan, "AUTO_SCAN"));
    // What came and went before this search is in it already.
    if (ctx.portWatch != nullptr) ctx.portWatch->Changed();
    ComList::Discover_Ports(ctx);
    // Ports plugged in from now on come into the list by themselves.
    if (ctx.portWatch != nullptr) {
        if (!ctx.portWatch->Problem().empty())
            LogWriteAlways(
                ctx, "Port list not refreshed by itself :: " + ctx.portWatch->Problem() + "\n\n");
        ctx.ui.SetCtrlAttribute(ctx.gvtpScan, ctx.ui.FindCtrl(ctx.gvtpScan, "THOTPLUG"),
                                ui::ATTR_ENABLED, 1);
    }
    return 0;
}

int G1__exit(ScanContext& ctx) {
    ctx.ui.QuitUserInterface(0);
    ctx.ui.DiscardPanel(ctx.gvG1);
    Log::Close(ctx);
    return 0;
}

int evG1(ScanContext& ctx, int, int event, void*, int data1, int) {
    if (event == ui::EVENT_CLOSE) {
        G1__exit(ctx);
    } else if (event == ui::EVENT_KEYPRESS) {
        if (data1 == (ui::VAL_MENUKEY_MODIFIER | 'O')) {
            Log::Launch(ctx);
        } else if (data1 == (ui::VAL_MENUKEY_MODIFIER | 'X')) {
            Log::Clear(ctx);
        } else if (data1 == '`') {
            G1__exit(ctx);
        }
    }
    return 0;
}

int evExit1(ScanContext& ctx, int, int, void*, int) {
    return G1__exit(ctx);
}

int evLang1(ScanContext& ctx, int, int item, void*, int) {
    LangS::Click(ctx, item);
    LangS::WF(ctx);
    LangS::Char_Set(ctx);
    LangS::Refresh(ctx);
    return 0;
}

int evTN1(ScanContext& ctx, int panel, int control, int event, void*, int, int) {
    if (event != ui::EVENT_COMMIT) return 0;
    int id = 0;
    ctx.ui.GetCtrlVal(panel, control, &id);
    return fn_1_Status_Msg(ctx, id);
}

void RegisterCallbacks(ScanContext& ctx, ui::CallbackRegistry& registry) {
    ScanContext* c = &ctx;
    registry.AddPanel(
        "evG1", [c](int p, int e, void* d, int d1, int d2) { return evG1(*c, p, e, d, d1, d2); });
    registry.AddMenu("evExit1",
                     [c](int m, int i, void* d, int p) { return evExit1(*c, m, i, d, p); });
    registry.AddMenu("evLang1",
                     [c](int m, int i, void* d, int p) { return evLang1(*c, m, i, d, p); });
    registry.AddControl("evTN1", [c](int p, int ctl, int e, void* d, int d1, int d2) {
        return evTN1(*c, p, ctl, e, d, d1, d2);
    });
    registry.AddControl("evTHotplug", [c](int p, int ctl, int e, void* d, int d1, int d2) {
        return evTHotplug(*c, p, ctl, e, d, d1, d2);
    });
    registry.AddControl("evGetCom", [c](int p, int ctl, int e, void* d, int d1, int d2) {
        return evGetCom(*c, p, ctl, e, d, d1, d2);
    });
    registry.AddControl("evStartScan", [c](int p, int ctl, int e, void* d, int d1, int d2) {
        return evStartScan(*c, p, ctl, e, d, d1, d2);
    });
    registry.AddControl("evESC", [c](int p, int ctl, int e, void* d, int d1, int d2) {
        return evESC(*c, p, ctl, e, d, d1, d2);
    });
    registry.AddControl("evTTarnel", [c](int p, int ctl, int e, void* d, int d1, int d2) {
        return evTTarnel(*c, p, ctl, e, d, d1, d2);
    });
    registry.AddControl("evLST", [c](int p, int ctl, int e, void* d, int d1, int d2) {
        return evLST(*c, p, ctl, e, d, d1, d2);
    });
}

int RunScan(ScanContext& ctx) {
    if (G1__init(ctx) < 0) return 1;
    ctx.ui.RunUserInterface();
    return 0;
}

}  // namespace scan
