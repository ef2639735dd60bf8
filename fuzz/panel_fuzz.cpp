// Panel resources as the runtime loads them, with the callbacks each program registers; a
// loaded panel is then shown and every control read, set and walked as the programs do (no
// events: the programs' callbacks are not run on contexts that were never started). Input: byte 0
// (mod 7) chooses the program and panel: Tarnel's G104 or TREND, Ombrel's G105 or TREND, Scan's G1,
// the panel demo's SAMPLE or TREND; the rest is the file.

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "models/model_a.h"
#include "models/model_b.h"
#include "platform/ui/constants.h"
#include "shell/callbacks.h"

namespace {

// The callbacks of each program, registered once.
struct Programs {
    Programs() {
        conf::RegisterCallbacks(tarnel.ctx, tarnel.registry);
        conf::RegisterCallbacks(ombrel.ctx, ombrel.registry);
        // The panel demo's callbacks do nothing the loader could see.
        for (const char* name : {"OnChannel", "OnClock", "OnCount", "OnLevel", "OnMode", "OnOnline",
                                 "OnPorts", "OnSample"})
            demo.AddControl(name, [](int, int, int, void*, int, int) { return 0; });
        for (const char* name : {"OnPanel", "OnTrendPanel"})
            demo.AddPanel(name, [](int, int, void*, int, int) { return 0; });
        for (const char* name : {"OnAbout", "OnExit", "OnTrendMenu"})
            demo.AddMenu(name, [](int, int, void*, int) { return 0; });
    }
    fuzz::Configurator tarnel{conf::ModelA()};
    fuzz::Configurator ombrel{conf::ModelB()};
    fuzz::Scan scan;
    ui::CallbackRegistry demo;
};

void Walk(ui::Runtime& rt, int panel) {
    const ui::Panel* p = rt.GetPanel(panel);
    if (!p) return;
    std::vector<int> ids;
    for (const ui::Control& c : p->controls)
        ids.push_back(c.id);
    for (int id : ids) {
        int i = 0;
        double d = 0;
        std::string s;
        rt.GetCtrlVal(panel, id, &i);
        rt.GetCtrlVal(panel, id, &d);
        rt.GetCtrlVal(panel, id, &s);
        rt.SetCtrlVal(panel, id, i / 2 - 1);
        rt.SetCtrlVal(panel, id, d / 3);
        rt.SetCtrlVal(panel, id, s + "x");
        int count = 0;
        if (rt.GetNumListItems(panel, id, &count) >= 0) {
            for (int n = 0; n < count && n < 64; ++n) {
                rt.GetLabelFromIndex(panel, id, n, &s);
                rt.GetValueFromIndex(panel, id, n, &i);
            }
            rt.SetCtrlIndex(panel, id, count - 1);
            rt.GetCtrlIndex(panel, id, &i);
        }
        for (int row = 1; row <= 3; ++row)
            for (int column = 1; column <= 3; ++column) {
                ui::CellValue cell;
                rt.GetTableCellVal(panel, id, row, column, &cell);
                rt.SetTableCellVal(panel, id, row, column, cell);
            }
        rt.ChartAddPoint(panel, id, 100.0, 1.5);
        rt.ChartAddGap(panel, id, 101.0);
        rt.ChartAddPoint(panel, id, 102.0, -1.5);
        if (rt.GetNumTabPages(panel, id, &count) >= 0) {
            for (int page = 0; page < count && page < 16; ++page) {
                int handle = 0;
                rt.SetActiveTabPage(panel, id, page);
                if (rt.GetPanelHandleFromTabPage(panel, id, page, &handle) >= 0 && handle != panel)
                    Walk(rt, handle);
            }
        }
        rt.GetCtrlAttribute(panel, id, ui::ATTR_PRECISION, &i);
        rt.SetCtrlAttribute(panel, id, ui::ATTR_DIMMED, 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Programs programs;
    fuzz::EnterTree();
    fuzz::Input in(data, size);
    struct Choice {
        const ui::CallbackRegistry* registry;
        const char* panel;
    };
    const Choice choices[7] = {
        {&programs.tarnel.registry, "G104"}, {&programs.tarnel.registry, "TREND"},
        {&programs.ombrel.registry, "G105"}, {&programs.ombrel.registry, "TREND"},
        {&programs.scan.registry, "G1"},     {&programs.demo, "SAMPLE"},
        {&programs.demo, "TREND"},
    };
    const Choice& choice = choices[in.Byte() % 7];
    fuzz::WriteFile("panel.json", in.Rest());

    ui::HeadlessFrontEnd fe;
    ui::Runtime rt(fe, *choice.registry);
    const int panel = rt.LoadPanel(0, "panel.json", choice.panel);
    if (panel < 0) return 0;
    rt.DisplayPanel(panel);
    Walk(rt, panel);
    const int bar = rt.GetPanelMenuBar(panel);
    if (const ui::MenuBar* menus = bar > 0 ? rt.GetMenuBar(bar) : nullptr) {
        (void)menus;
        int checked = 0;
        for (int item = 1; item <= 64; ++item) {
            rt.GetMenuBarAttribute(bar, item, ui::ATTR_CHECKED, &checked);
            rt.SetMenuBarAttribute(bar, item, ui::ATTR_CHECKED, !checked);
        }
    }
    rt.HidePanel(panel);
    rt.DiscardPanel(panel);
    return 0;
}
