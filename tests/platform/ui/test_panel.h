#pragma once
// A small panel resource shared by the runtime tests (a main panel with a tab, another window
// and a trend window of charts), and a fixture that loads its main panel.

#include <string>
#include <vector>

#include "tests/support/fixtures.h"

namespace uitest {

inline const char* kPanelJson = R"({
  "panels": [
    { "name": "MAIN", "title": "Main", "width": 600, "height": 400, "callback": "evMain",
      "menubar": { "menus": [
        { "name": "FILE", "label": "__File", "items": [
          { "name": "PORT", "label": "Port", "checked": true, "callback": "evMenu" },
          { "name": "EXIT", "label": "E__xit", "callback": "evMenu" } ] },
        { "name": "ABOUT", "label": "About", "callback": "evMenu" } ] },
      "controls": [
        { "kind": "numeric", "name": "STATION", "value": 1, "callback": "evCtrl" },
        { "kind": "real", "name": "LIMIT", "value": 12.5, "precision": 1, "callback": "evCtrl" },
        { "kind": "ring", "name": "BAUD", "items": ["2400", "4800", "9600", "19200"], "index": 3,
          "callback": "evCtrl" },
        { "kind": "ring", "name": "CODES", "items": [ { "label": "A", "value": 10 },
                                                   { "label": "B", "value": 20 } ] },
        { "kind": "string", "name": "STATUS", "indicator": true, "value": "idle" },
        { "kind": "command", "name": "READ", "label": "Read", "callback": "evCtrl" },
        { "kind": "toggle", "name": "PV", "label": "PV", "callback": "evCtrl" },
        { "kind": "listbox", "name": "PORTS", "callback": "evCtrl" },
        { "kind": "table", "name": "PARA", "rows": ["COM", "Baud"], "columns": ["Current Using"],
          "cells": [["COM5"], [19200]] },
        { "kind": "timer", "name": "POLL", "interval": 0.5, "callback": "evCtrl" },
        { "kind": "textmsg", "name": "CAPTION", "value": "Station" },
        { "kind": "tab", "name": "TAB", "callback": "evCtrl", "pages": [
          { "name": "CFG", "callback": "evPage", "controls": [
            { "kind": "numeric", "name": "ID", "value": 1, "callback": "evCtrl" },
            { "kind": "radio", "name": "T0", "value": 1, "callback": "evCtrl" },
            { "kind": "radio", "name": "T1", "callback": "evCtrl" } ] },
          { "name": "CAL", "controls": [
            { "kind": "command", "name": "STEP0", "label": "Step 0", "callback": "evCtrl" } ] } ] }
      ] },
    { "name": "OTHER", "controls": [ { "kind": "numeric", "name": "X" } ] },
    { "name": "TREND", "title": "Trend", "controls": [
      { "kind": "chart", "name": "PLAIN" },
      { "kind": "chart", "name": "LEVEL", "label": "Level", "window": 60, "capacity": 100,
        "precision": 1, "left": 10, "top": 20, "width": 400, "height": 200 },
      { "kind": "timer", "name": "POLL", "interval": 1.0, "enabled": true, "callback": "evPoll" } ] }
  ]
})";

// One delivered event, as a callback saw it.
struct Seen {
    std::string who;  // "ctrl", "panel", "menu"
    int panel;
    int control;
    int event;
    int data1;
    bool operator==(const Seen&) const = default;
};

class PanelTest : public ::testing::Test,
                  public conf_test::InScratchDir,
                  public conf_test::HeadlessUi {
  protected:
    void SetUp() override {
        conf_test::WriteFile(file_, kPanelJson);
        registry.AddControl("evCtrl", [this](int p, int c, int e, void*, int d1, int) {
            seen.push_back({"ctrl", p, c, e, d1});
            return ctrlResult;
        });
        registry.AddPanel("evMain", [this](int p, int e, void*, int d1, int) {
            seen.push_back({"panel", p, 0, e, d1});
            return 0;
        });
        registry.AddPanel("evPage", [this](int p, int e, void*, int d1, int) {
            seen.push_back({"page", p, 0, e, d1});
            return pageResult;
        });
        registry.AddMenu("evMenu", [this](int mb, int item, void*, int p) {
            seen.push_back({"menu", p, item, mb, 0});
            return 0;
        });
        main = rt.LoadPanel(0, file_, "MAIN");
        ASSERT_GT(main, 0) << rt.LastError();
        ASSERT_EQ(rt.GetPanelHandleFromTabPage(main, Id(main, "TAB"), 0, &cfg), 0);
        ASSERT_EQ(rt.GetPanelHandleFromTabPage(main, Id(main, "TAB"), 1, &cal), 0);
        station = Id(main, "STATION");
        limit = Id(main, "LIMIT");
        baud = Id(main, "BAUD");
        poll = Id(main, "POLL");
    }
    // Reads back an integer value or attribute; -99 when the read itself fails.
    int Val(int panel, int control) { return CtrlVal(panel, control, -99); }
    int Index(int panel, int control) { return CtrlIndex(panel, control, -99); }
    // Moves virtual time on and checks the ticks seen so far.
    void AdvanceExpecting(double seconds, int ticks) {
        fe.AdvanceTime(seconds);
        EXPECT_EQ(Ticks(), ticks) << "at " << rt.Clock().Now() << " s";
    }
    int Ticks() const {
        int n = 0;
        for (const auto& s : seen)
            n += s.event == ui::EVENT_TIMER_TICK;
        return n;
    }
    // Events seen, without the focus events (most tests look at the rest).
    std::vector<Seen> NonFocus() const {
        std::vector<Seen> out;
        for (const auto& s : seen)
            if (s.event != ui::EVENT_GOT_FOCUS && s.event != ui::EVENT_LOST_FOCUS) out.push_back(s);
        return out;
    }

    std::string file_ = "panel.json";
    std::vector<Seen> seen;
    int ctrlResult = 0;
    int pageResult = 0;
    int main = 0, cfg = 0, cal = 0;
    int station = 0, limit = 0, baud = 0, poll = 0;  // controls of the main panel
};

}  // namespace uitest
