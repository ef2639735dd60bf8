// Scan: finds an instrument on the serial ports and hands it to its configurator.

#include "apps/program_args.h"
#include "apps/run_tree_start.h"
#include "platform/qt/qt_front_end.h"
#include "platform/serial/com_map.h"
#include "platform/serial/enumerate.h"
#include "platform/serial/rs232.h"
#include "platform/serial/system_backend.h"
#include "platform/sys/launch.h"
#include "platform/ui/runtime.h"
#include "scan/shell.h"

int main(int argc, char** argv) {
    if (const int r = HandleArguments(
            argc, argv, "Scan", scan::kVersionCaption,
            "Finds an instrument on the serial ports at any baud rate and frame format, puts it "
            "on\n"
            "station 1, 19200 baud, 8N2 and starts its configurator (Tarnel or Ombrel).");
        r >= 0)
        return r;
    qtfe::QtFrontEnd frontEnd(argc, argv);
    ui::CallbackRegistry registry;
    ui::Runtime runtime(frontEnd, registry);
    if (StartInRunTree("Scan", runtime) < 0) return 1;
    sys::SystemLauncher launcher;
    serial::SystemBackend backend;
    serial::Rs232 com(backend, serial::SystemComMapEnv());
    serial::SysfsDeviceLister devices(serial::SystemComMapEnv());
    scan::ScanContext ctx(runtime, launcher, com, devices);
    scan::RegisterCallbacks(ctx, registry);
    return scan::RunScan(ctx);
}
