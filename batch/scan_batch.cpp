#include "batch/scan_batch.h"

#include <cstdio>
#include <string>
#include <vector>

#include "apps/run_tree_start.h"
#include "batch/batch_workdir.h"
#include "link/port_settings.h"
#include "platform/serial/com_map.h"
#include "platform/serial/enumerate.h"
#include "platform/serial/rs232.h"
#include "platform/serial/system_backend.h"
#include "platform/sys/launch.h"
#include "platform/sys/small_file.h"
#include "platform/ui/batch_front_end.h"
#include "platform/ui/constants.h"
#include "platform/ui/runtime.h"
#include "scan/com_discovery.h"
#include "scan/scan_dev.h"
#include "scan/shell.h"

namespace batch {

namespace {

// Takes the hand-over's start of a configurator down instead of starting it.
class HandOverRecorder final : public sys::Launcher {
  public:
    int Launch(const std::string& program, const std::vector<std::string>&) override {
        program_ = program;
        return 0;
    }
    const std::string& Program() const { return program_; }

  private:
    std::string program_;
};

int Fail(int status, const std::string& text) {
    std::fprintf(stderr, "Scan: %s\n", text.c_str());
    return status;
}

// "Tarnel.exe" to "Tarnel".
std::string ProgramName(std::string name) {
    const std::string ext = ".exe";
    if (name.size() > ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0)
        name.resize(name.size() - ext.size());
    return name;
}

}  // namespace

std::string FoundLine(int com, int baudIndex, int frameIndex, unsigned mcode,
                      const std::string& program) {
    static constexpr const char* kFrames[] = {"8N1", "8N2", "8O1", "8E1"};
    const char* frame = frameIndex >= 0 && frameIndex < 4 ? kFrames[frameIndex] : "?";
    char line[128];
    std::snprintf(line, sizeof line, "COM%d %d %s station 1 model 0x%04x %s", com,
                  scan::fn_BR_to_Baud(baudIndex), frame, mcode, program.c_str());
    return line;
}

int RunScanBatch(const Options& options, const volatile std::sig_atomic_t* stop) {
    ui::BatchFrontEnd frontEnd("Scan", stop);
    ui::CallbackRegistry registry;
    ui::Runtime runtime(frontEnd, registry);
    if (StartInRunTree("Scan", runtime) < 0) return kExitFile;
    std::string error;
    if (EnterWorkdir(options.workdir, runtime, &error) < 0) return Fail(kExitFile, error);
    const serial::ComMapEnv env = serial::SystemComMapEnv();
    int port = 0;
    if (!options.port.empty() && ResolvePort(options.port, env, &port, &error) < 0)
        return Fail(kExitLink, error);

    HandOverRecorder handOver;
    serial::SystemBackend backend;
    serial::Rs232 com(backend, env);
    serial::SysfsDeviceLister devices(env);
    scan::ScanContext ctx(runtime, handOver, com, devices);
    scan::RegisterCallbacks(ctx, registry);
    if (scan::G1__init(ctx) < 0) return kExitFile;
    if (port > 0) {
        // The port chosen in the list: the sweep of that one port.
        if (sys::WriteWholeFile(scan::kComExist, std::to_string(port) + "\n") < 0) {
            scan::G1__exit(ctx);
            return Fail(kExitFile, std::string(scan::kComExist) + ": cannot be written");
        }
        scan::ScanDev__to_start(ctx);
    } else {
        scan::evStartScan(ctx, ctx.gvG1, 0, ui::EVENT_COMMIT, nullptr, 0, 0);
    }
    // The settings each probe tries, taken before the tick that may hand the instrument over.
    int baudIndex = 0, frameIndex = 0;
    frontEnd.RunFor(24 * 3600.0, [&](int panel, int control) {
        const bool nextPort = scan::BRi::is_Tail(ctx);
        baudIndex = nextPort ? scan::kFixedBaudIndex : scan::BRi::GV(ctx);
        frameIndex = nextPort ? 0 : scan::RTUi::GV(ctx);
        runtime.TimerTick(panel, control);
    });
    if (handOver.Program().empty()) {
        scan::G1__exit(ctx);
        if (frontEnd.Stopped()) return Fail(kExitLink, "stopped");
        return Fail(kExitLink, port > 0 ? "nothing found on COM" + std::to_string(port)
                                        : std::string("nothing found on any port"));
    }
    conf::PortSettings s;
    if (conf::fn_Read_Port_Settings(&s) < 0)
        return Fail(kExitFile, std::string(conf::kComDevUseFile) + ": cannot be read");
    std::printf(
        "%s\n",
        FoundLine(s.com, baudIndex, frameIndex, s.mcode, ProgramName(handOver.Program())).c_str());
    return kExitDone;
}

}  // namespace batch
