#include "apps/panel-demo/sample_panel.h"

#include <cmath>
#include <cstdio>

namespace demo {

namespace {

constexpr int kLevelLow = 0;
constexpr int kLevelHigh = 100;
constexpr double kPi = 3.14159265358979323846;
constexpr double kWobble = 10.0;
constexpr double kSlowPeriod = 4.0;  // seconds of one wobble for mode Slow; Fast is 1 s
constexpr double kDropoutEvery = 10.0;
constexpr double kDropoutFrom = 1.0;  // the sensor is open from 1.0 s to 1.5 s of each 10 s
constexpr double kDropoutTo = 1.5;

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
    registry.AddControl("OnSample",
                        [this](int, int, int event, void*, int, int) { return OnSample(event); });
    registry.AddPanel("OnTrendPanel", [this](int, int event, void*, int key, int) {
        return OnTrendPanel(event, key);
    });
    registry.AddMenu("OnTrendMenu", [this](int, int, void*, int) {
        ShowTrend(!runtime_->GetPanel(trend_)->displayed);
        return 0;
    });
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
    if (panel_ < 0) return panel_;
    trend_ = runtime.LoadPanel(0, file, "TREND");
    if (trend_ < 0) {
        runtime.DiscardPanel(panel_);  // LastError still says why the trend failed
        panel_ = trend_;
        return panel_;
    }
    const sys::DateTime now = runtime.Clock().LocalNow();
    origin_ = now.hour * 3600.0 + now.minute * 60.0 + now.second;
    start_ = runtime.Clock().Now();
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
    if (key == ui::VAL_F3_VKEY) {
        ShowTrend(true);
        return 1;
    }
    return 0;
}

// The trend window's close box, F3 and Esc hide it; the program goes on.
int SamplePanel::OnTrendPanel(int event, int key) {
    if (event == ui::EVENT_CLOSE ||
        (event == ui::EVENT_KEYPRESS && (key == ui::VAL_F3_VKEY || key == ui::VAL_ESC_VKEY))) {
        ShowTrend(false);
        return 1;
    }
    return 0;
}

void SamplePanel::ShowTrend(bool show) {
    if (show) {
        runtime_->DisplayPanel(trend_);
    } else {
        runtime_->HidePanel(trend_);
        runtime_->SetActivePanel(panel_);
    }
    const int bar = runtime_->GetPanelMenuBar(panel_);
    runtime_->SetMenuBarAttribute(bar, runtime_->FindMenuItem(bar, "SHOW_TREND"), ui::ATTR_CHECKED,
                                  show ? 1 : 0);
}

bool SamplePanel::ReadSensor(double t, double* value) const {
    int mode = 0, level = 0;
    runtime_->GetCtrlIndex(panel_, Ctrl("MODE"), &mode);
    runtime_->GetCtrlVal(panel_, Ctrl("LEVEL"), &level);
    const double phase = std::fmod(t, kDropoutEvery);
    if (mode == 0 || (phase >= kDropoutFrom && phase < kDropoutTo)) return false;
    const double period = mode == 1 ? kSlowPeriod : 1.0;
    *value = level + kWobble * std::sin(2.0 * kPi * t / period);
    return true;
}

int SamplePanel::OnSample(int event) {
    if (event != ui::EVENT_TIMER_TICK) return 0;
    const double t = runtime_->Clock().Now() - start_;
    const int chart = runtime_->FindCtrl(trend_, "LEVEL_TREND");
    double value = 0.0;
    if (ReadSensor(t, &value)) return runtime_->ChartAddPoint(trend_, chart, origin_ + t, value);
    return runtime_->ChartAddGap(trend_, chart, origin_ + t);
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
