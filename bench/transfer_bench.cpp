// transfer-bench: how close a model's read-all, write-all and process-value poll come to the
// speed of the line and to libmodbus, the reference Modbus library, sending the same requests,
// what a network serial port (RFC 2217 or raw TCP, on loopback) adds per transaction, and what
// share of a core the configurator takes while it watches the instrument at its poll interval.
// Starts instrument-sim on a pseudo-terminal and behind a raw TCP and an RFC 2217 server, each
// paced at 19200 baud 8N2, drives each in turn through the serial layer (COM9's link pointed at
// it) from a configurator on the headless panel runtime, and prints for each round, command
// and transport the elapsed time beside the floor the line itself sets. On the tty the
// requests the command wrote are recorded and, in the same round, sent again by libmodbus on
// the same pseudo-terminal (the configurator's port closed meanwhile, since it holds the line
// for itself); the instrument's request log shows that both sent the same bytes. libmodbus has
// no RFC 2217 and frames RTU only on a serial device, so the network rows have no reference
// figures; they are set beside the tty's instead.
//
// The floor of a command is what its bytes need on the wire: every request and answer byte at
// the line's bits per character (11 for 8N2) over its baud rate, plus, per transaction, the
// 3.5-character silence after a request by which an instrument recognises that the request
// has ended and before which it may not answer. The silence after an answer is not counted: a
// single master may send its next request as soon as it has the answer.
//
// Exit status 0 when every command succeeded (whatever the ratio: a slow machine is no fault),
// 1 when a command failed, libmodbus could not send the same requests, or the simulator could
// not be started, 2 for a bad command line.

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_table.h"
#include "bench/line_tally.h"
#include "bench/sim_process.h"
#include "core/context.h"
#include "lang/status_line.h"
#include "link/session.h"
#include "modbus/access_mode.h"
#include "models/model.h"
#include "models/model_a.h"
#include "models/model_b.h"
#include "monitor/pv_poll.h"
#include "platform/serial/com_map.h"
#include "platform/serial/line_settings.h"
#include "platform/serial/rs232.h"
#include "platform/serial/tcp_socket.h"
#include "platform/sys/launch.h"
#include "platform/ui/headless.h"
#include "platform/ui/runtime.h"
#include "shell/callbacks.h"
#include "shell/main_panel.h"
#include "transfer/read_all.h"
#include "transfer/write_all.h"

#if SUITE_HAVE_LIBMODBUS
#include "bench/libmodbus_client.h"
#endif

namespace {

namespace fs = std::filesystem;

constexpr int kCom = 9;
// The line the configurator is put on, as its settings file says.
const serial::LineSettings kLine{19200, serial::kParityNone, 8, 2};
// The transports, each an instrument-sim of its own; the first is the one the others are set
// beside and the only one libmodbus can drive.
constexpr const char* kTty = "tty";
constexpr const char* kTransports[] = {kTty, "tcp", "rfc2217"};
// What a network port may add to a transaction over the tty, in seconds.
constexpr double kNetTarget = 0.5e-3;

struct Options {
    int rounds = 5;
    int netRounds = -1;  // rounds with the network transports; -1: all of them
    std::string turnaroundMs = "3";
    std::string model = "A";
    double watchSeconds = 10.0;
    const conf::Model& Descriptor() const { return model == "B" ? conf::ModelB() : conf::ModelA(); }
};

int ParseArgs(int argc, char** argv, Options* o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--rounds" && i + 1 < argc) {
            o->rounds = std::atoi(argv[++i]);
            if (o->rounds < 1 || o->rounds > 1000) return -1;
        } else if (a == "--net-rounds" && i + 1 < argc) {
            o->netRounds = std::atoi(argv[++i]);
            if (o->netRounds < 0 || o->netRounds > 1000) return -1;
        } else if (a == "--turnaround" && i + 1 < argc) {
            o->turnaroundMs = argv[++i];
        } else if (a == "--watch" && i + 1 < argc) {
            o->watchSeconds = std::atof(argv[++i]);
            if (o->watchSeconds < 0.0 || o->watchSeconds > 3600.0) return -1;
        } else if (a == "--model" && i + 1 < argc) {
            o->model = argv[++i];
            if (o->model != "A" && o->model != "B") return -1;
        } else {
            return -1;
        }
    }
    return 0;
}

std::string ProgramDir() {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : self.parent_path().string();
}

std::string HexText(const bench::Frame& f) {
    std::string text;
    char buf[4];
    for (std::uint8_t b : f) {
        std::snprintf(buf, sizeof buf, "%02X ", b);
        text += buf;
    }
    if (!text.empty()) text.pop_back();
    return text;
}

// Empty when the instrument took exactly `sent`, each request answered; otherwise what differs.
std::string CompareLogged(const std::vector<bench::Frame>& sent,
                          const std::vector<bench::LoggedRequest>& logged) {
    for (std::size_t i = 0; i < sent.size() || i < logged.size(); ++i) {
        const std::string at = "request " + std::to_string(i + 1) + ": ";
        if (i >= logged.size()) return at + "sent " + HexText(sent[i]) + ", never logged";
        if (i >= sent.size()) return at + "logged " + HexText(logged[i].request) + ", not sent";
        if (logged[i].request != sent[i])
            return at + "sent " + HexText(sent[i]) + ", logged " + HexText(logged[i].request);
        if (logged[i].outcome != "answered")
            return at + HexText(sent[i]) + ": " + logged[i].outcome;
    }
    return {};
}

// The median time the line lay idle between an answer's last byte and the next request, over
// the consecutive transactions of one command; 0 with fewer than two. The instrument's clock
// dates both ends, so this is the client's own time per transaction (plus two wake-ups), free
// of the line's pacing.
double MedianIdle(const std::vector<bench::LoggedRequest>& logged, double turnaround) {
    std::vector<double> idle;
    for (std::size_t i = 1; i < logged.size(); ++i) {
        const bench::LoggedRequest& last = logged[i - 1];
        const double answered =
            last.at + serial::WireTime(kLine, static_cast<int>(last.request.size())) + turnaround +
            serial::WireTime(kLine, static_cast<int>(last.answer.size()));
        idle.push_back(logged[i].at - answered);
    }
    return bench::Median(idle);
}

class Bench {
  public:
    explicit Bench(const Options& opt)
        : ctx{rt, launcher, opt.Descriptor()},
          turnaround_(std::atof(opt.turnaroundMs.c_str()) / 1e3) {
        ctx.com = &com;
    }

    int Run(const Options& opt) {
        std::string error;
        if (Prepare(opt, &error) != 0) {
            std::fprintf(stderr, "transfer-bench: %s\n", error.c_str());
            return 1;
        }
        std::string over;
        for (const Line& l : lines_)
            over += (over.empty() ? "" : ", ") + l.device;
        std::printf("model %s over %s, 19200 baud 8N2, instrument turnaround %s ms\n",
                    opt.model.c_str(), over.c_str(), opt.turnaroundMs.c_str());
        std::printf(
            "floor = request and answer bytes at 11 bits each / 19200 baud + a "
            "3.5-character silence after each request\n");
#if SUITE_HAVE_LIBMODBUS
        std::printf(
            "suite: the configurator's command through the serial layer; %s: the same "
            "requests on the same port, tty only (it has no RFC 2217 and frames RTU on a serial "
            "device only)\n",
            bench::LibmodbusClient::Name().c_str());
#else
        std::printf(
            "suite: the configurator's command through the serial layer; "
            "libmodbus: missing (libmodbus-dev was not found when transfer-bench was "
            "built), no reference figures\n");
#endif
        std::printf(
            "tcp, rfc2217: COM9 linked to the simulator's server on loopback; elapsed includes "
            "the reopenings a command makes (write-all reopens the port after changing the link "
            "settings, and a raw TCP open watches %.1f s for a server turning it away); idle us "
            "is free of them\n",
            serial::NetTimeouts{}.settle);
        if (conf::MSPV_B::BEG(ctx) != 0) {
            std::fprintf(stderr, "transfer-bench: monitoring did not start, status \"%s\"\n",
                         StatusText().c_str());
            return 1;
        }
        Active().TakeRequests();  // those of the start-up
        struct Command {
            const char* name;
            int (*run)(conf::Context&);
        };
        const Command commands[] = {{"read-all", conf::Para_Fr_Dev::onClick},
                                    {"write-all", conf::Para_To_Dev::onClick},
                                    {"poll", conf::MSPV_T::sub}};
        bench::Table table("libmodbus");
        table.PrintHeading();
        for (int round = 1; round <= opt.rounds; ++round) {
            for (std::size_t t = 0; t < lines_.size(); ++t) {
                const bool network = lines_[t].name != kTty;
                if (network && opt.netRounds >= 0 && round > opt.netRounds) continue;
                if (Use(t, &error) != 0) {
                    std::fprintf(stderr, "transfer-bench: %s: %s\n", lines_[t].name.c_str(),
                                 error.c_str());
                    return 1;
                }
                for (const Command& c : commands) {
                    bench::Row row{round, c.name, lines_[t].name, {}, {}};
                    if (RunSuite(c.run, &row.suite, &error) != 0 ||
                        (!network && RunReference(&row.reference, &error) != 0)) {
                        std::fprintf(stderr, "transfer-bench: %s over %s: %s\n", c.name,
                                     lines_[t].name.c_str(), error.c_str());
                        return 1;
                    }
                    table.Add(row);
                }
            }
        }
        table.PrintSummary();
        table.PrintOverBase(kTty, kNetTarget);
        // Watched on the tty, the line the share has always been taken on.
        if (Use(0, &error) != 0) {
            std::fprintf(stderr, "transfer-bench: %s: %s\n", kTty, error.c_str());
            return 1;
        }
        return WatchShare(opt.watchSeconds);
    }

    // Polls at the poll interval for `seconds` of real time and prints the CPU time the
    // process used over that time (the simulator is another process and not counted).
    int WatchShare(double seconds) {
        if (seconds <= 0.0) return 0;
        const double cpu0 = CpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        int polls = 0;
        for (auto next = t0; std::chrono::duration<double>(next - t0).count() < seconds;) {
            if (conf::MSPV_T::sub(ctx) != 0) {
                std::fprintf(stderr, "transfer-bench: a poll failed, status \"%s\"\n",
                             StatusText().c_str());
                return 1;
            }
            Active().TakeRequests();  // keeps the log's pipe from filling
            ++polls;
            next += std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                std::chrono::duration<double>(conf::kPvPollInterval));
            std::this_thread::sleep_until(next);
        }
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const double cpu = CpuSeconds() - cpu0;
        std::printf("watching: %d polls at %.1f s in %.1f s, CPU %.3f s = %.2f %% of a core\n",
                    polls, conf::kPvPollInterval, wall, cpu, 100.0 * cpu / wall);
        return 0;
    }

    static double CpuSeconds() {
        rusage u{};
        ::getrusage(RUSAGE_SELF, &u);
        return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
               static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
    }

    ~Bench() {
        com.CloseCom(conf::kPort222);
        for (Line& l : lines_)
            l.sim->Stop();
        std::error_code ec;
        if (!oldDir_.empty()) fs::current_path(oldDir_, ec);
        fs::remove_all(root_, ec);
    }

  private:
    // The configurator's command, timed, its requests recorded.
    int RunSuite(int (*command)(conf::Context&), bench::Measure* m, std::string* error) {
        backend.Reset();
        const auto t0 = std::chrono::steady_clock::now();
        const int rc = command(ctx);
        const auto t1 = std::chrono::steady_clock::now();
        m->taken = true;
        m->tally = backend.Counted();
        m->elapsed = std::chrono::duration<double>(t1 - t0).count();
        const std::vector<bench::LoggedRequest> logged = Active().TakeRequests();
        m->idle = MedianIdle(logged, turnaround_);
        const std::string differs = CompareLogged(backend.Requests(), logged);
        if (rc != 0) {
            *error = "failed (" + std::to_string(rc) + "), status \"" + StatusText() + "\"";
            return -1;
        }
        if (!differs.empty()) {
            *error = "the instrument's log does not show what the configurator sent: " + differs;
            return -1;
        }
        return 0;
    }

#if SUITE_HAVE_LIBMODBUS
    // The recorded requests once more through libmodbus, timed from the first request to the
    // last answer; the configurator's port is closed meanwhile and opened again after.
    int RunReference(bench::Measure* m, std::string* error) {
        double timeout = 0.0;
        if (com.GetComTime(conf::kPort222, &timeout) < 0) {
            *error = "the configurator's port is not open";
            return -1;
        }
        com.CloseCom(conf::kPort222);
        bench::LibmodbusClient client;
        int rc = client.Open(lines_[active_].device, kLine, error);
        if (rc == 0) {
            const auto t0 = std::chrono::steady_clock::now();
            rc = client.Replay(backend.Requests(), &m->tally, error);
            const auto t1 = std::chrono::steady_clock::now();
            m->elapsed = std::chrono::duration<double>(t1 - t0).count();
            m->taken = rc == 0;
            client.Close();
        }
        const std::vector<bench::LoggedRequest> logged = Active().TakeRequests();
        m->idle = MedianIdle(logged, turnaround_);
        const std::string differs = CompareLogged(backend.Requests(), logged);
        if (OpenAgain(timeout, error) != 0) return -1;
        if (rc != 0) {
            *error = "libmodbus: " + *error;
            return -1;
        }
        if (!differs.empty()) {
            *error = "libmodbus did not send what the configurator sent: " + differs;
            return -1;
        }
        return 0;
    }
#else
    int RunReference(bench::Measure*, std::string*) {
        return 0;
    }
#endif

    // The configurator's port opened on COM9 as its settings file says, answer time-out as
    // before.
    int OpenAgain(double timeout, std::string* error) {
        if (com.OpenComConfig(conf::kPort222, "COM" + std::to_string(kCom), kLine.baud,
                              kLine.parity, kLine.dataBits, kLine.stopBits) < 0 ||
            com.SetComTime(conf::kPort222, timeout) < 0) {
            *error = "the configurator's port did not open again: " + com.LastErrorDetail();
            return -1;
        }
        return 0;
    }

    // COM9's link pointed at the line of transport `t`, the configurator's port opened there.
    int Use(std::size_t t, std::string* error) {
        if (t == active_) return 0;
        double timeout = 0.0;
        if (com.GetComTime(conf::kPort222, &timeout) < 0) {
            *error = "the configurator's port is not open";
            return -1;
        }
        com.CloseCom(conf::kPort222);
        Active().TakeRequests();
        if (PointCom(lines_[t].device, error) != 0) return -1;
        active_ = t;
        return OpenAgain(timeout, error);
    }

    int PointCom(const std::string& device, std::string* error) {
        const fs::path link = root_ / "comports" / ("COM" + std::to_string(kCom));
        std::error_code ec;
        fs::remove(link, ec);
        fs::create_symlink(device, link, ec);
        if (ec) {
            *error = "cannot link " + link.string() + " to " + device + ": " + ec.message();
            return -1;
        }
        return 0;
    }

    bench::SimProcess& Active() {
        return *lines_[active_].sim;
    }

    // An instrument-sim for each transport: its device path, or its server's URL.
    int StartLines(const Options& opt, const std::string& dir, std::string* error) {
        for (const char* name : kTransports) {
            Line l{name, std::make_unique<bench::SimProcess>(), {}};
            std::vector<std::string> args{"--model", opt.model,      "--station",     "1",
                                          "--baud",  "19200",        "--format",      "8N2",
                                          "--log",   "--turnaround", opt.turnaroundMs};
            if (l.name != kTty) {
                args.push_back("--listen");
                args.push_back(l.name + ":0");  // any free port
            }
            if (l.sim->Start(dir + "/instrument-sim", args, error) != 0) return -1;
            // The pseudo-terminal's path, or "listening on tcp://127.0.0.1:PORT".
            const std::string first = l.sim->FirstLine(10.0);
            const std::string prefix = "listening on ";
            if (l.name == kTty)
                l.device = first;
            else if (first.rfind(prefix, 0) == 0)
                l.device = first.substr(prefix.size());
            if (l.device.empty()) {
                *error = "instrument-sim (" + l.name +
                         ") did not report its port (see its message above)";
                return -1;
            }
            lines_.push_back(std::move(l));
        }
        return PointCom(lines_[0].device, error);
    }

    // A run-time tree of its own, the simulator on COM9 in its COM folder, start-up done.
    int Prepare(const Options& opt, std::string* error) {
        const std::string dir = ProgramDir();
        oldDir_ = fs::current_path();
        std::error_code ec;
        fs::remove_all(root_, ec);
        fs::create_directories(root_ / "bin");
        fs::create_directories(root_ / "gui");
        fs::create_directories(root_ / "comports");
        const fs::path panel = fs::path(ctx.model.id.panelResource).filename();
        fs::copy_file(fs::path(dir) / ".." / "gui" / panel, root_ / "gui" / panel, ec);
        if (ec) {
            *error = "no panel resource beside the program: " + ec.message();
            return -1;
        }
        if (StartLines(opt, dir, error) != 0) return -1;
        fs::current_path(root_ / "bin");
        // The scanner's hand-over: the model code in hex after the port settings.
        char code[8];
        std::snprintf(code, sizeof code, "%02x02", ctx.model.id.codes[0].code);
        std::ofstream("COM_Dev_use.txt") << kCom << "\n3\n0\n8\n2\n" << code;
        std::ofstream("YN_log_dbg.txt") << "1 0";
        conf::RegisterCallbacks(ctx, registry);
        if (conf::MainPanel::init(ctx) != 0 || StatusText() != "Read OK") {
            *error = "start-up did not read the instrument: status \"" + StatusText() + "\"";
            for (const auto& p : fe.Popups())
                *error += "; popup " + p.title + ": " + p.text;
            return -1;
        }
        return 0;
    }

    std::string StatusText() {
        std::string text;
        if (ctx.gvMain > 0) rt.GetCtrlVal(ctx.gvMain, ctx.msgCtrl, &text);
        return text;
    }

    const fs::path root_ =
        fs::temp_directory_path() / ("transfer_bench_" + std::to_string(::getpid()));
    ui::CallbackRegistry registry;
    ui::HeadlessFrontEnd fe;
    ui::Runtime rt{fe, registry};
    sys::RecordingLauncher launcher;
    bench::RecordingBackend backend;
    serial::Rs232 com{backend, serial::ComMapEnv{(root_ / "comports").string(), {}}};
    conf::Context ctx;
    struct Line {
        std::string name;  // "tty", "tcp", "rfc2217"
        std::unique_ptr<bench::SimProcess> sim;
        std::string device;  // the pseudo-terminal or "tcp://127.0.0.1:PORT"
    };
    std::vector<Line> lines_;  // in the order of kTransports
    std::size_t active_ = 0;   // the line COM9 leads to
    double turnaround_;        // the instrument's, seconds
    fs::path oldDir_;
};

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    if (ParseArgs(argc, argv, &opt) != 0) {
        std::fprintf(
            stderr,
            "usage: transfer-bench [--rounds N] [--net-rounds N] [--turnaround MS] [--model A|B] "
            "[--watch S]\n");
        return 2;
    }
    signal(SIGPIPE, SIG_IGN);
    Bench bench(opt);
    return bench.Run(opt);
}
