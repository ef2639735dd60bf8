#include "apps/panel-demo/sample_panel.h"

#include <cstdio>

namespace demo {

namespace {

constexpr int kLevelLow = 0;
constexpr int kLevelHigh = 100;

}  // namespace

SamplePanel::SamplePanel(ui::CallbackRegistry& registry) {
    registry.AddPanel("OnPanel",
                      [this](int, int event, void*, int key, int) { return OnPanel(event, key); });
    registry.AddControl("OnCount",
                        [this](int, int, int event, void*, int, int) { return OnCount(event); });
    registry.AddControl("OnLevel",
                        [this](int, int, int event, void*, int, int) { return OnLevel(event); });
    registry.AddControl("OnMode",
                        [this](int, int, int event, void*, int, int) { return OnMode(event); });
    registry.AddControl("OnChannel", [this](int, int control, int event, void*, int, int) {
        return OnChannel(control, event);
    });
    registry.AddControl("OnOnline",
                        [this](int, int, int event, void*, int, int) { return OnOnline(event); });
    registry.AddControl("OnPorts",
                        [this](int, int, int event, void*, int, int) { return OnPorts(event); });
    registry.AddControl("OnClock",
                        [this](int, int, int event, void*, int, int) { return OnClock(event); });
    registry.AddMenu("OnExit",
                     [this](int, int, void*, int) { return runtime_->QuitUserInterface(0); });
    registry.AddMenu("OnAbout", [this](int, int, void*, int) {
        ShowAbout();
        return 0;
    });
}

int SamplePanel::Load(ui::Runtime& runtime, const std::string& file) {
    runtime_ = &runtime;
    panel_ = runtime.LoadPanel(0, file, "SAMPLE");
    return panel_;
}

int SamplePanel::Ctrl(const char* name) const {
    return runtime_->FindCtrl(panel_, name);
}

int SamplePanel::Page(int index) const {
    int page = 0;
    runtime_->GetPanelHandleFromTabPage(panel_, Ctrl("TABS"), index, &page);
    return page;
}

void SamplePanel::Status(const std::string& text) {
    runtime_->SetCtrlVal(panel_, Ctrl("STATUS"), text);
}

int SamplePanel::OnPanel(int event, int key) {
    if (event == ui::EVENT_CLOSE) return runtime_->QuitUserInterface(0);
    if (event != ui::EVENT_KEYPRESS) return 0;
    if (key == ui::VAL_ESC_VKEY) {
        ShowAbout();
        return 1;
    }
    if (key == ui::VAL_F2_VKEY) {
        NextPage();
        return 1;
    }
    return 0;
}

int SamplePanel::OnCount(int event) {
    if (event != ui::EVENT_COMMIT) return 0;
    ++presses_;
    runtime_->SetCtrlVal(panel_, Ctrl("PRESSES"), presses_);
    return 0;
}

// Out-of-range levels flash red for a moment, then show the nearest allowed value.
int SamplePanel::OnLevel(int event) {
    if (event != ui::EVENT_COMMIT) return 0;
    const int level = Ctrl("LEVEL");
    int value = 0;
    runtime_->GetCtrlVal(panel_, level, &value);
    if (value < kLevelLow || value > kLevelHigh) {
        runtime_->SetCtrlAttribute(panel_, level, ui::ATTR_TEXT_BGCOLOR, ui::VAL_RED);
        runtime_->Delay(0.1);
        value = value < kLevelLow ? kLevelLow : kLevelHigh;
        runtime_->SetCtrlVal(panel_, level, value);
        runtime_->SetCtrlAttribute(panel_, level, ui::ATTR_TEXT_BGCOLOR, ui::VAL_WHITE);
    }
    Status("Level set to " + std::to_string(value) + ".");
    return 0;
}

int SamplePanel::OnMode(int event) {
    if (event != ui::EVENT_COMMIT) return 0;
    const int mode = Ctrl("MODE");
    int index = 0;
    std::string label;
    runtime_->GetCtrlIndex(panel_, mode, &index);
    runtime_->GetLabelFromIndex(panel_, mode, index, &label);
    Status("Mode: " + label + ".");
    return 0;
}

// The two channel buttons are one radio group: the program keeps exactly one of them on.
int SamplePanel::OnChannel(int control, int event) {
    if (event != ui::EVENT_COMMIT) return 0;
    const int a = Ctrl("CHANNEL_A");
    const int b = Ctrl("CHANNEL_B");
    runtime_->SetCtrlVal(panel_, a, control == a ? 1 : 0);
    runtime_->SetCtrlVal(panel_, b, control == b ? 1 : 0);
    Status(control == a ? "Channel A selected." : "Channel B selected.");
    return 0;
}

int SamplePanel::OnOnline(int event) {
    if (event != ui::EVENT_COMMIT) return 0;
    const int page = Page(0);
    int on = 0;
    runtime_->GetCtrlVal(page, runtime_->FindCtrl(page, "ONLINE"), &on);
    runtime_->SetCtrlVal(page, runtime_->FindCtrl(page, "LINK"), on);
    Status(on ? "Link up." : "Link down.");
    return 0;
}

int SamplePanel::OnPorts(int event) {
    if (event != ui::EVENT_LEFT_CLICK_UP) return 0;
    const int page = Page(1);
    const int ports = runtime_->FindCtrl(page, "PORTS");
    int index = 0;
    std::string label;
    runtime_->GetCtrlIndex(page, ports, &index);
    runtime_->GetLabelFromIndex(page, ports, index, &label);
    Status("Port " + label + " chosen.");
    return 0;
}

int SamplePanel::OnClock(int event) {
    if (event != ui::EVENT_TIMER_TICK) return 0;
    const sys::DateTime now = runtime_->Clock().LocalNow();
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", now.hour, now.minute, now.second);
    runtime_->SetCtrlVal(panel_, Ctrl("CLOCK"), text);
    return 0;
}

void SamplePanel::NextPage() {
    const int tabs = Ctrl("TABS");
    int page = 0, count = 0;
    runtime_->GetActiveTabPage(panel_, tabs, &page);
    runtime_->GetNumTabPages(panel_, tabs, &count);
    if (count > 0) runtime_->SetActiveTabPage(panel_, tabs, (page + 1) % count);
}

void SamplePanel::ShowAbout() {
    runtime_->MessagePopup("About",
                           "Panel demo\nA tour of the panel runtime's controls on the desktop.");
}

}  // namespace demo
