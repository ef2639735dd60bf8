// scan-bench: how long Scan's sweep takes from Auto Scan to the start of the configurator, for
// an instrument that answers at the k-th probe. Scan's code runs on the headless panel runtime
// over the termios serial layer against instrument-sim on a pseudo-terminal; each probe is one
// tick of the sweep timer. A probe's time is what the line took (measured) plus the program's
// own pauses and the timer period (on the runtime's clock).
//
// A pseudo-terminal carries the baud rate and the stop bits, not the parity: an instrument at
// 8N2 answers the 8N2 probe of its baud rate, the 2nd of each group of four.
//
// Exit status 0 when every sweep found its instrument, 1 otherwise.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/serial/com_map.h"
#include "platform/serial/enumerate.h"
#include "platform/serial/rs232.h"
#include "platform/serial/system_backend.h"
#include "platform/sys/launch.h"
#include "platform/ui/headless.h"
#include "platform/ui/runtime.h"
#include "scan/scan_context.h"
#include "scan/scan_dev.h"
#include "scan/shell.h"
#include "tests/support/child_process.h"

namespace {

namespace fs = std::filesystem;

class Names final : public serial::DeviceLister {
  public:
    std::vector<std::string> FriendlyNames() override { return names; }
    std::vector<std::string> PresentDeviceNames() override { return names; }
    std::vector<std::string> names;
};

std::string ProgramDir() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : self.parent_path().string();
}

struct Case {
    const char* baud;
    int probe;  // the probe that finds it
};

// One sweep: the instrument at `c.baud` 8N2 on COM5. 0, or -1 when it was not found.
int Sweep(const Case& c) {
    const std::string dir = ProgramDir();
    const fs::path root = fs::temp_directory_path() / ("scan_bench_" + std::to_string(::getpid()));
    std::error_code ec;
    fs::remove_all(root, ec);
    fs::create_directories(root / "bin");
    fs::create_directories(root / "comports");
    fs::copy(fs::path(dir) / ".." / "gui", root / "gui", ec);
    const fs::path old = fs::current_path();
    fs::current_path(root / "bin");

    int result = -1;
    {
        conf_test::Child sim;
        ui::CallbackRegistry registry;
        ui::HeadlessFrontEnd fe;
        ui::Runtime rt{fe, registry};
        sys::RecordingLauncher launcher;
        serial::SystemBackend backend;
        serial::Rs232 com{backend,
                          serial::ComMapEnv{(root / "comports").string(), serial::EntryExists}};
        Names names;
        scan::ScanContext ctx{rt, launcher, com, names};
        scan::RegisterCallbacks(ctx, registry);
        if (sim.Spawn({dir + "/instrument-sim", "--model", "A", "--station", "9", "--baud", c.baud,
                       "--format", "8N2", "--com", "5"},
                      (root / "comports").string(), (root / "sim.err").string()) &&
            scan::G1__init(ctx) == 0) {
            names.names = {sim.FirstLine() + " (COM5)"};
            scan::G1__init(ctx);
            const int timer = rt.FindCtrl(ctx.gvtpScan, "TTARNEL");
            double interval = 0.0;
            rt.GetCtrlAttribute(ctx.gvtpScan, timer, ui::ATTR_INTERVAL, &interval);
            rt.UserPress(ctx.gvtpScan, rt.FindCtrl(ctx.gvtpScan, "AUTO_SCAN"));
            double silent = 0.0, last = 0.0, total = 0.0;
            int probes = 0;
            while (launcher.calls.empty() && probes < 40) {
                const double v0 = fe.VirtualClock().Now();
                const auto t0 = std::chrono::steady_clock::now();
                rt.TimerTick(ctx.gvtpScan, timer);
                const double took =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() +
                    (fe.VirtualClock().Now() - v0) + interval;
                ++probes;
                total += took;
                if (launcher.calls.empty())
                    silent += took;
                else
                    last = took;
            }
            const int silentProbes = probes - 1;
            std::printf(
                "%6s baud 8N2: found at probe %2d (expected %2d), %6.2f s from Auto Scan to "
                "the configurator; silent probe %.3f s (fixed timing 3.3 s, %+.1f %%), last "
                "probe %.3f s\n",
                c.baud, probes, c.probe, total, silentProbes > 0 ? silent / silentProbes : 0.0,
                silentProbes > 0 ? 100.0 * (silent / silentProbes - 3.3) / 3.3 : 0.0, last);
            if (!launcher.calls.empty() && probes == c.probe) result = 0;
        }
        com.CloseCom(scan::kPort222);
        sim.Stop();
    }
    fs::current_path(old);
    fs::remove_all(root, ec);
    return result;
}

}  // namespace

int main() {
    int failed = 0;
    for (const Case& c : {Case{"19200", 2}, Case{"9600", 6}, Case{"4800", 10}})
        if (Sweep(c) != 0) ++failed;
    return failed == 0 ? 0 : 1;
}
