// transfer-bench: how close a model's read-all, write-all and process-value poll come to the
// speed of the line, and what share of a core the configurator takes while it watches the
// instrument at its poll interval.
// Starts instrument-sim on a pseudo-terminal, paced at 19200 baud 8N2, drives it through the
// termios serial layer from a configurator on the headless panel runtime, and prints for each
// round the elapsed time beside the floor the line itself sets.
//
// The floor of a command is what its bytes need on the wire: every request and answer byte at
// the line's bits per character (11 for 8N2) over its baud rate, plus, per transaction, the
// 3.5-character silence after a request by which an instrument recognises that the request
// has ended and before which it may not answer. The silence after an answer is not counted: a
// single master may send its next request as soon as it has the answer.
//
// Exit status 0 when every command succeeded (whatever the ratio: a slow machine is no fault),
// 1 when a command failed or the simulator could not be started, 2 for a bad command line.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/context.h"
#include "lang/status_line.h"
#include "models/model.h"
#include "models/model_a.h"
#include "models/model_b.h"
#include "monitor/pv_poll.h"
#include "platform/serial/com_map.h"
#include "platform/serial/line_settings.h"
#include "platform/serial/port.h"
#include "platform/serial/rs232.h"
#include "platform/serial/system_backend.h"
#include "platform/sys/launch.h"
#include "platform/ui/headless.h"
#include "platform/ui/runtime.h"
#include "shell/callbacks.h"
#include "shell/main_panel.h"
#include "transfer/read_all.h"
#include "transfer/write_all.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kCom = 9;
constexpr double kGapChars = 3.5;

// What went over the line since the last Reset.
struct Tally {
    int transactions = 0;
    long bytes = 0;
    double wire = 0.0;  // seconds
    double gaps = 0.0;  // seconds
    void Reset() { *this = Tally{}; }
};

// A termios port that counts what it carries. Every write is one request frame.
class CountingPort final : public serial::Port {
  public:
    CountingPort(std::unique_ptr<serial::Port> port, Tally& tally)
        : port_(std::move(port)), tally_(tally) {}
    int Write(const std::uint8_t* data, int n) override {
        const int r = port_->Write(data, n);
        if (r > 0) {
            ++tally_.transactions;
            Count(r);
            tally_.gaps += serial::WireTime(Settings(), 1) * kGapChars;
        }
        return r;
    }
    int Read(std::uint8_t* data, int n, double timeoutSeconds) override {
        const int r = port_->Read(data, n, timeoutSeconds);
        if (r > 0) Count(r);
        return r;
    }
    int FlushInput() override { return port_->FlushInput(); }
    int FlushOutput() override { return port_->FlushOutput(); }
    const serial::LineSettings& Settings() const override { return port_->Settings(); }

  private:
    void Count(int n) {
        tally_.bytes += n;
        tally_.wire += serial::WireTime(Settings(), n);
    }
    std::unique_ptr<serial::Port> port_;
    Tally& tally_;
};

class CountingBackend final : public serial::Backend {
  public:
    explicit CountingBackend(Tally& tally) : tally_(tally) {}
    int Open(const std::string& devicePath, const serial::LineSettings& settings,
             std::unique_ptr<serial::Port>* out) override {
        std::unique_ptr<serial::Port> port;
        const int r = real_.Open(devicePath, settings, &port);
        if (r == 0) *out = std::make_unique<CountingPort>(std::move(port), tally_);
        return r;
    }
    std::string LastOpenDetail() const override { return real_.LastOpenDetail(); }

  private:
    serial::SystemBackend real_;
    Tally& tally_;
};

// The simulator as a child process: started with its standard output on a pipe (its first
// line is the pseudo-terminal's path) and its standard error on ours, stopped with SIGTERM.
class Simulator {
  public:
    ~Simulator() { Stop(); }
    int Start(const std::string& program, const std::vector<std::string>& args,
              std::string* error) {
        int pipeFds[2];
        if (::pipe2(pipeFds, O_CLOEXEC) != 0) return Fail("pipe", error);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        const int spawned =
            ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);
        out_ = pipeFds[0];
        if (spawned != 0) {
            pid_ = -1;
            errno = spawned;
            return Fail(program.c_str(), error);
        }
        return 0;
    }
    // The first line of its output, waiting at most `seconds`; empty when none came.
    std::string FirstLine(double seconds) {
        std::string line;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd p{out_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            char c = 0;
            if (::read(out_, &c, 1) != 1) break;
            if (c == '\n') return line;
            line += c;
        }
        return {};
    }
    void Stop() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
            pid_ = -1;
        }
        if (out_ >= 0) ::close(out_);
        out_ = -1;
    }

  private:
    static int Fail(const char* what, std::string* error) {
        *error = std::string(what) + ": " + std::strerror(errno);
        return -1;
    }
    pid_t pid_ = -1;
    int out_ = -1;
};

struct Options {
    int rounds = 5;
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

struct Result {
    Tally tally;
    double elapsed = 0.0;
    double Floor() const { return tally.wire + tally.gaps; }
    double Ratio() const { return Floor() > 0.0 ? elapsed / Floor() : 0.0; }
};

void Print(int round, const char* what, const Result& r) {
    std::printf("%5d  %-9s  %4d  %6ld  %8.1f  %7.1f  %8.1f  %8.1f  %6.3f\n", round, what,
                r.tally.transactions, r.tally.bytes, r.tally.wire * 1e3, r.tally.gaps * 1e3,
                r.Floor() * 1e3, r.elapsed * 1e3, r.Ratio());
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

class Bench {
  public:
    explicit Bench(const Options& opt) : ctx{rt, launcher, opt.Descriptor()} { ctx.com = &com; }

    int Run(const Options& opt) {
        std::string error;
        if (Prepare(opt, &error) != 0) {
            std::fprintf(stderr, "transfer-bench: %s\n", error.c_str());
            return 1;
        }
        std::printf("model %s over %s, 19200 baud 8N2, instrument turnaround %s ms\n",
                    opt.model.c_str(), ptyPath_.c_str(), opt.turnaroundMs.c_str());
        std::printf(
            "floor = request and answer bytes at 11 bits each / 19200 baud + a "
            "3.5-character silence after each request\n");
        std::printf(
            "round  command    txns   bytes   wire ms  gaps ms  floor ms   real ms   "
            "ratio\n");
        if (conf::MSPV_B::BEG(ctx) != 0) {
            std::fprintf(stderr, "transfer-bench: monitoring did not start, status \"%s\"\n",
                         StatusText().c_str());
            return 1;
        }
        constexpr int kCommands = 3;
        std::vector<double> ratios[kCommands];
        const char* names[kCommands] = {"read-all", "write-all", "poll"};
        int (*commands[kCommands])(conf::Context&) = {
            conf::Para_Fr_Dev::onClick, conf::Para_To_Dev::onClick, conf::MSPV_T::sub};
        for (int round = 1; round <= opt.rounds; ++round) {
            for (int k = 0; k < kCommands; ++k) {
                Result r;
                tally_.Reset();
                const auto t0 = std::chrono::steady_clock::now();
                const int rc = commands[k](ctx);
                const auto t1 = std::chrono::steady_clock::now();
                r.tally = tally_;
                r.elapsed = std::chrono::duration<double>(t1 - t0).count();
                if (rc != 0) {
                    std::fprintf(stderr, "transfer-bench: %s failed (%d), status \"%s\"\n",
                                 names[k], rc, StatusText().c_str());
                    return 1;
                }
                Print(round, names[k], r);
                ratios[k].push_back(r.Ratio());
            }
        }
        for (int k = 0; k < kCommands; ++k)
            std::printf("%-9s median ratio %.3f, best %.3f\n", names[k], Median(ratios[k]),
                        *std::min_element(ratios[k].begin(), ratios[k].end()));
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
        com.CloseCom(222);
        sim_.Stop();
        std::error_code ec;
        if (!oldDir_.empty()) fs::current_path(oldDir_, ec);
        fs::remove_all(root_, ec);
    }

  private:
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
        // The simulator places its COM link in the folder it is told of.
        ::setenv("COMPORTS_DIR", (root_ / "comports").c_str(), 1);
        if (sim_.Start(dir + "/instrument-sim",
                       {"--model", opt.model, "--com", std::to_string(kCom), "--station", "1",
                        "--baud", "19200", "--format", "8N2", "--turnaround", opt.turnaroundMs},
                       error) != 0)
            return -1;
        ptyPath_ = sim_.FirstLine(10.0);
        if (ptyPath_.empty()) {
            *error = "instrument-sim did not report its port (see its message above)";
            return -1;
        }
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
    Tally tally_;
    ui::CallbackRegistry registry;
    ui::HeadlessFrontEnd fe;
    ui::Runtime rt{fe, registry};
    sys::RecordingLauncher launcher;
    CountingBackend backend{tally_};
    serial::Rs232 com{backend, serial::ComMapEnv{(root_ / "comports").string(), {}}};
    conf::Context ctx;
    Simulator sim_;
    fs::path oldDir_;
    std::string ptyPath_;
};

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    if (ParseArgs(argc, argv, &opt) != 0) {
        std::fprintf(
            stderr,
            "usage: transfer-bench [--rounds N] [--turnaround MS] [--model A|B] [--watch S]\n");
        return 2;
    }
    signal(SIGPIPE, SIG_IGN);
    Bench bench(opt);
    return bench.Run(opt);
}
