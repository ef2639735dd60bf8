#pragma once
// A configurator context wired to a scripted instrument on an in-process line: COM5 is the
// device "/virtual/COM5", time is the headless runtime's virtual clock, and the working
// directory is a fresh scratch folder holding a main panel with the link controls.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../lang/status_panel.h"
#include "../support/headless_com5.h"
#include "link/crc.h"

namespace linktest {

using Bytes = std::vector<std::uint8_t>;

inline const char* kLinkPanel = R"({ "panels": [ { "name": "G104",
  "menubar": { "menus": [ { "name": "FILE", "items": [ { "name": "PORT", "checked": true } ] } ] },
  "controls": [
    { "kind": "textmsg", "name": "MSG" },
    { "kind": "numeric", "name": "ID_COMM", "value": 1 },
    { "kind": "ring", "name": "BR_COMM", "items": ["2400", "4800", "9600", "19200"], "index": 3 },
    { "kind": "ring", "name": "RTU_COMM", "items": ["8N1", "8N2", "8O1", "8E1"], "index": 1 },
    { "kind": "toggle", "name": "RS485" } ] } ] })";

class LinkTest : public ::testing::Test, protected conf_test::HeadlessCom5 {
  protected:
    LinkTest() {
        conf_test::WriteFile("link.json", kLinkPanel);
        ctx.gvMain = rt.LoadPanel(0, "link.json", "G104");
        EXPECT_GT(ctx.gvMain, 0) << rt.LastError();
        ctx.msgCtrl = rt.FindCtrl(ctx.gvMain, "MSG");
        backend.Attach("/virtual/COM5", &device);
        ctx.com = &com;
    }
    // A frame with its CRC appended.
    static Bytes Sealed(Bytes frame) {
        frame.resize(frame.size() + 2);
        conf::fn_Get_CRC(frame.data(), static_cast<int>(frame.size()));
        return frame;
    }
    // Opens COM5 at 19200 8N2 with the 0.5 s time-out, as the link start does.
    void OpenPort() {
        ASSERT_EQ(com.OpenComConfig(222, "COM5", 19200, 0, 8, 2), 0);
        ASSERT_EQ(com.SetComTime(222, 0.5), 0);
    }
    std::string Log() {
        ctx.gpLog.Flush();
        return conf_test::ReadFile("log.txt");
    }
    void OpenLog() { ctx.gpLog.Open("log.txt", "w"); }
    int Station() {
        int v = 0;
        rt.GetCtrlVal(ctx.gvMain, rt.FindCtrl(ctx.gvMain, "ID_COMM"), &v);
        return v;
    }
    int Index(const char* ring) {
        int v = 0;
        rt.GetCtrlIndex(ctx.gvMain, rt.FindCtrl(ctx.gvMain, ring), &v);
        return v;
    }
    std::string Status() {
        std::string s;
        rt.GetCtrlVal(ctx.gvMain, ctx.msgCtrl, &s);
        return s;
    }
    int StatusColour() {
        int c = -1;
        rt.GetCtrlAttribute(ctx.gvMain, ctx.msgCtrl, ui::ATTR_TEXT_COLOR, &c);
        return c;
    }

    conf_test::ScratchDir dir;
};

}  // namespace linktest
