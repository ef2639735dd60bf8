#pragma once
// The behaviour of the sample panel in gui/Sample.json: one callback for each name the resource
// uses, registered under that name. Kept apart from main() so tests can drive it headless.
//
// The trend window charts a simulated sensor ten times a second: the level with a wobble whose
// pace the mode sets. The sensor gives no reading (a gap in the line) while the mode is Off,
// and for half a second every ten seconds, so the trend shows what an open sensor looks like.

#include <string>

#include "platform/ui/callbacks.h"
#include "platform/ui/runtime.h"

namespace demo {

class SamplePanel {
  public:
    // Registers the callbacks; they act on the runtime later given to Load.
    explicit SamplePanel(ui::CallbackRegistry& registry);
    SamplePanel(const SamplePanel&) = delete;
    SamplePanel& operator=(const SamplePanel&) = delete;

    // Loads panel "SAMPLE" and its trend window "TREND" (hidden) from `file`: the handle of
    // "SAMPLE", or a negative UiError with runtime.LastError() saying why.
    int Load(ui::Runtime& runtime, const std::string& file);
    int TrendPanel() const { return trend_; }
    // The simulated sensor at `t` seconds after the start: false while it is open.
    bool ReadSensor(double t, double* value) const;

  private:
    int Ctrl(const char* name) const;
    int Page(int index) const;
    void Status(const std::string& text);
    int OnPanel(int event, int key);
    int OnCount(int event);
    int OnLevel(int event);
    int OnMode(int event);
    int OnChannel(int control, int event);
    int OnOnline(int event);
    int OnPorts(int event);
    int OnClock(int event);
    int OnSample(int event);
    int OnTrendPanel(int event, int key);
    void ShowTrend(bool show);
    void NextPage();
    void ShowAbout();

    ui::Runtime* runtime_ = nullptr;
    int panel_ = 0;
    int trend_ = 0;
    int presses_ = 0;
    double start_ = 0.0;   // Clock().Now() at the start
    double origin_ = 0.0;  // the local time of day at the start, in seconds: the chart's x base
};

}  // namespace demo
