// panel-demo: the sample panel on the desktop. Runs from bin/, next to ../gui.

#include <cstdio>

#include "apps/panel-demo/sample_panel.h"
#include "platform/qt/qt_front_end.h"
#include "platform/ui/runtime.h"

int main(int argc, char** argv) {
    qtfe::QtFrontEnd frontEnd(argc, argv);
    ui::CallbackRegistry registry;
    demo::SamplePanel sample(registry);
    ui::Runtime runtime(frontEnd, registry);

    const int panel = sample.Load(runtime, "../gui/Sample.json");
    if (panel < 0) {
        std::fprintf(stderr, "panel-demo: %s\n", runtime.LastError().c_str());
        return 1;
    }
    runtime.DisplayPanel(panel);
    runtime.SetActiveCtrl(panel, runtime.FindCtrl(panel, "LEVEL"));
    const int result = runtime.RunUserInterface();
    runtime.DiscardPanel(panel);
    return result < 0 ? 1 : result;
}
