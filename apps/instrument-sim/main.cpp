// instrument-sim: a simulated model A or B instrument on a pseudo-terminal, a serial device or
// behind a simulated serial device server on the network, for the programs to find when there
// is no hardware.

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/serial/com_map.h"
#include "platform/sys/clock.h"
#include "sim/com_link.h"
#include "sim/instrument.h"
#include "sim/net_line.h"
#include "sim/options.h"
#include "sim/pty_line.h"
#include "sim/server.h"
#include "sim/tty_line.h"

namespace {

// Signals arrive on a descriptor that the serving loop polls beside the line.
class SignalFd {
  public:
    SignalFd() {
        sigemptyset(&set_);
        for (int s : {SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGUSR2})
            sigaddset(&set_, s);
        if (sigprocmask(SIG_BLOCK, &set_, nullptr) == 0)
            fd_ = signalfd(-1, &set_, SFD_CLOEXEC | SFD_NONBLOCK);
    }
    ~SignalFd() {
        if (fd_ >= 0) close(fd_);
    }
    SignalFd(const SignalFd&) = delete;
    SignalFd& operator=(const SignalFd&) = delete;
    int Fd() const { return fd_; }
    // The next pending signal, 0 when none.
    int Next() {
        signalfd_siginfo info{};
        if (read(fd_, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) return 0;
        return static_cast<int>(info.ssi_signo);
    }

  private:
    sigset_t set_{};
    int fd_ = -1;
};

const char* ModelName(sim::Model m) {
    return m == sim::Model::kB ? "B" : "A";
}

int Fail(const std::string& why) {
    std::fprintf(stderr, "instrument-sim: %s\n", why.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    sim::ProgramOptions opt;
    std::string error;
    if (sim::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), &opt, &error) != 0) {
        std::fprintf(stderr, "instrument-sim: %s\n(--help lists the options)\n", error.c_str());
        return 2;
    }
    if (opt.help) {
        std::fputs(sim::UsageText().c_str(), stdout);
        return 0;
    }
    signal(SIGPIPE, SIG_IGN);
    SignalFd signals;
    if (signals.Fd() < 0) return Fail("cannot watch signals");

    sim::InstrumentConfig& cfg = opt.instrument;
    const serial::LineSettings own = sim::LinkSettings(cfg.baudIndex, cfg.formatIndex);
    std::unique_ptr<sim::ServedLine> line;
    const bool net = opt.listen != sim::NetProtocol::kNone;
    int opened = 0;
    if (net) {
        sim::NetLineOptions n;
        n.protocol = opt.listen;
        n.port = opt.listenPort;
        n.settings = opt.gateway;
        n.delay = opt.netDelay;
        n.onNotice = [](const std::string& text) {
            std::fprintf(stderr, "instrument-sim: %s\n", text.c_str());
        };
        opened = sim::OpenNetLine(n, &line, &error);
    } else if (opt.device.empty()) {
        opened = sim::OpenPseudoTerminal(&line, &error);
    } else {
        opened = sim::OpenSerialDevice(opt.device, own, &line, &error);
    }
    if (opened != 0) return Fail(error);
    cfg.lineCheck = line->Check();

    sim::ComLink link;
    if (opt.com != 0) {
        std::string note;
        if (link.Place(serial::DefaultComportsDir(), opt.com, line->Path(), opt.force, &error,
                       &note) != 0)
            return Fail(error);
        if (!note.empty()) std::fprintf(stderr, "instrument-sim: %s\n", note.c_str());
    }

    sys::SystemClock clock;
    sim::Instrument instrument(cfg, clock.Now());
    for (const sim::Fault& f : opt.faults)
        instrument.AddFault(f);

    std::string where = line->Path();
    if (!link.Path().empty())
        where += " as COM" + std::to_string(opt.com) + " (" + link.Path() + ")";
    if (net)
        where += std::string(opt.listen == sim::NetProtocol::kRawTcp ? " (a gateway at "
                                                                     : " (a port starting at ") +
                 sim::SettingsText(opt.gateway) + ")";
    std::fprintf(stderr,
                 "instrument-sim: model %s, code %d, firmware %d, serial %010u on %s; station %d, "
                 "%s\n",
                 ModelName(cfg.model), cfg.code, cfg.firmware, cfg.serialNumber, where.c_str(),
                 cfg.station, sim::SettingsText(own).c_str());

    // The path last: whoever reads it may start at once.
    std::printf(net ? "listening on %s\n" : "%s\n", line->Path().c_str());
    std::fflush(stdout);

    bool stop = false;
    sim::ServeHooks hooks;
    hooks.eventFd = signals.Fd();
    hooks.onEvent = [&] {
        for (int s = signals.Next(); s != 0; s = signals.Next()) {
            if (s == SIGHUP) {
                instrument.PowerCycle(clock.Now());
                std::fprintf(stderr, "instrument-sim: power cycle\n");
            } else if (s == SIGUSR2) {
                if (!net) {
                    std::fprintf(stderr, "instrument-sim: SIGUSR2 stalls a network line only\n");
                    continue;
                }
                line->SetStalled(!line->Stalled());
                std::fprintf(stderr, "instrument-sim: connection %s\n",
                             line->Stalled() ? "stalled" : "passing");
            } else if (s == SIGUSR1) {
                if (cfg.model != sim::Model::kA) {
                    std::fprintf(stderr, "instrument-sim: SIGUSR1 opens model A's sensor only\n");
                    continue;
                }
                instrument.SetOpenSensor(!instrument.OpenSensor());
                std::fprintf(stderr, "instrument-sim: sensor %s\n",
                             instrument.OpenSensor() ? "open" : "connected");
            } else {
                stop = true;
            }
        }
        return !stop;
    };
    if (opt.log)
        hooks.onRequest = [t0 = clock.Now()](sim::LogEntry e) {
            e.start -= t0;  // seconds since the start
            std::fprintf(stderr, "%s\n", sim::FormatLogEntry(e).c_str());
        };

    const int served = sim::Serve(*line, instrument, clock, hooks, &error);
    if (served < 0) return Fail(error);
    if (served == sim::kServeVanished) {
        // A pulled adapter: the port goes, its COM link stays behind dangling until the end.
        const std::string path = line->Path();
        line.reset();
        std::fprintf(stderr, "instrument-sim: %s has vanished; waiting for SIGINT or SIGTERM\n",
                     path.c_str());
        while (!stop) {
            pollfd p{signals.Fd(), POLLIN, 0};
            if (poll(&p, 1, -1) > 0) hooks.onEvent();
        }
    }
    std::fprintf(stderr, "instrument-sim: stopped\n");
    return 0;
}
