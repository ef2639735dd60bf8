#pragma once
// The behaviour of the sample panel in gui/Sample.json: one callback for each name the resource
// uses, registered under that name. Kept apart from main() so tests can drive it headless.

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

    // Loads panel "SAMPLE" from `file`: its handle, or a negative UiError with
    // runtime.LastError() saying why.
    int Load(ui::Runtime& runtime, const std::string& file);

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
    void NextPage();
    void ShowAbout();

    ui::Runtime* runtime_ = nullptr;
    int panel_ = 0;
    int presses_ = 0;
};

}  // namespace demo
