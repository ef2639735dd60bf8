// Scan: finds an instrument on the serial ports and hands it to its configurator.

#include <cstdio>
#include <string>
#include <vector>

#include "apps/run_tree_start.h"
#include "batch/batch_options.h"
#include "batch/interrupt.h"
#include "batch/scan_batch.h"
#include "models/registry.h"
#include "platform/qt/qt_front_end.h"
#include "platform/serial/com_map.h"
#include "platform/serial/enumerate.h"
#include "platform/serial/port_watch.h"
#include "platform/serial/rs232.h"
#include "platform/serial/system_backend.h"
#include "platform/sys/launch.h"
#include "platform/ui/runtime.h"
#include "scan/shell.h"

int main(int argc, char** argv) {
    batch::Options options;
    std::string error;
    if (batch::ParseScanArgs(std::vector<std::string>(argv + 1, argv + argc), &options, &error) <
        0) {
        std::fprintf(stderr, "Scan: %s (see Scan --help)\n", error.c_str());
        return batch::kExitUsage;
    }
    if (options.action == batch::Action::Help) {
        std::fputs(batch::ScanUsage("Finds an instrument on the serial ports at any baud rate and "
                                    "frame format, puts it on\n"
                                    "station 1, 19200 baud, 8N2 and starts its configurator "
                                    "(Tarnel or Ombrel).")
                       .c_str(),
                   stdout);
        return 0;
    }
    if (options.action == batch::Action::Version) {
        std::printf("Scan %s\n", scan::kVersionCaption);
        return 0;
    }
    if (options.action == batch::Action::Find)
        return batch::RunScanBatch(options, batch::InstallInterruptHandler());
    qtfe::QtFrontEnd frontEnd(argc, argv);
    ui::CallbackRegistry registry;
    ui::Runtime runtime(frontEnd, registry);
    if (StartInRunTree("Scan", runtime) < 0) return 1;
    sys::SystemLauncher launcher(conf::SuitePrograms());
    serial::SystemBackend backend;
    serial::Rs232 com(backend, serial::SystemComMapEnv());
    serial::SysfsDeviceLister devices(serial::SystemComMapEnv());
    scan::ScanContext ctx(runtime, launcher, com, devices);
    serial::PortWatch portWatch("/dev", serial::DefaultComportsDir());
    ctx.portWatch = &portWatch;
    scan::RegisterCallbacks(ctx, registry);
    return scan::RunScan(ctx);
}
