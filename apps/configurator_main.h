#pragma once
// The whole main of a configurator: the Qt front end, the panel runtime, the serial ports under
// their COM numbers, one context for the model the program serves. A configurator's main is
// ConfiguratorMain with its registry entry's program name.

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "batch/batch_options.h"
#include "batch/configurator_batch.h"
#include "batch/interrupt.h"

#include "apps/run_tree_start.h"
#include "core/context.h"
#include "models/model.h"
#include "models/registry.h"
#include "platform/qt/qt_front_end.h"
#include "platform/serial/com_map.h"
#include "platform/serial/rs232.h"
#include "platform/serial/system_backend.h"
#include "platform/sys/launch.h"
#include "platform/ui/runtime.h"
#include "shell/callbacks.h"
#include "shell/main_panel.h"
#include "shell/model_check.h"

inline int ConfiguratorMain(int argc, char** argv, const char* programName) {
    const conf::Model* served = conf::ModelOfProgram(programName);
    if (served == nullptr) {
        std::fprintf(stderr, "%s: no model of the suite is served by this program\n", programName);
        return 1;
    }
    const conf::Model& model = *served;
    const std::string purpose = std::string("The configurator of ") + model.id.codes[0].product +
                                " instruments: reads, edits, writes and saves their parameters,\n"
                                "watches and records the process value, calibrates.";
    const char* program = model.id.programName;
    batch::Options options;
    std::string error;
    if (batch::ParseConfiguratorArgs(std::vector<std::string>(argv + 1, argv + argc), &options,
                                     &error) < 0) {
        std::fprintf(stderr, "%s: %s (see %s --help)\n", program, error.c_str(), program);
        return batch::kExitUsage;
    }
    if (options.action == batch::Action::Help) {
        std::fputs(batch::ConfiguratorUsage(program, purpose).c_str(), stdout);
        return 0;
    }
    if (options.action == batch::Action::Version) {
        std::printf("%s %s\n", program, model.id.aboutCaption);
        return 0;
    }
    if (options.action != batch::Action::Window)
        return batch::RunConfiguratorBatch(options, model, batch::InstallInterruptHandler());
    qtfe::QtFrontEnd frontEnd(argc, argv);
    ui::CallbackRegistry registry;
    ui::Runtime runtime(frontEnd, registry);
    if (StartInRunTree(model.id.programName, runtime) < 0) return 1;
    sys::SystemLauncher launcher(conf::SuitePrograms());
    serial::SystemBackend backend;
    serial::Rs232 com(backend, serial::SystemComMapEnv());
    conf::Context ctx(runtime, launcher, model);
    ctx.com = &com;
    // A descriptor that does not hold together stops here, said on stderr and in a popup.
    return conf::RunCheckedConfigurator(ctx, registry);
}
