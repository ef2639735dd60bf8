// Tarnel: the configurator of model A instruments.

#include "models/model_a.h"
#include "platform/qt/qt_front_end.h"
#include "platform/serial/com_map.h"
#include "platform/serial/rs232.h"
#include "platform/serial/termios_port.h"
#include "platform/sys/launch.h"
#include "platform/ui/runtime.h"
#include "shell/callbacks.h"
#include "shell/main_panel.h"

int main(int argc, char** argv) {
    qtfe::QtFrontEnd frontEnd(argc, argv);
    ui::CallbackRegistry registry;
    ui::Runtime runtime(frontEnd, registry);
    sys::SystemLauncher launcher;
    serial::TermiosBackend backend;
    serial::Rs232 com(backend, serial::SystemComMapEnv());
    conf::Context ctx(runtime, launcher, conf::ModelA());
    ctx.com = &com;
    conf::RegisterCallbacks(ctx, registry);
    return conf::RunConfigurator(ctx);
}
