// Tarnel itself, started as a technician starts it, against an instrument on the far side of a
// pseudo-terminal: played by this test, or instrument-sim.

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "../support/child_process.h"
#include "link/crc.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes Sealed(Bytes frame) {
    frame.resize(frame.size() + 2);
    conf::fn_Get_CRC(frame.data(), static_cast<int>(frame.size()));
    return frame;
}

// The instrument: answers the link block read and echoes single writes, 8-byte requests only.
class Responder {
  public:
    explicit Responder(int master) : master_(master), thread_([this] { Run(); }) {}
    ~Responder() {
        stop_ = true;
        thread_.join();
    }
    std::vector<Bytes> Requests() {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }

  private:
    void Run() {
        Bytes pending;
        while (!stop_) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN)) continue;
            std::uint8_t buf[64];
            ssize_t n = ::read(master_, buf, sizeof buf);
            if (n <= 0) continue;  // the program is between two opens of its port
            pending.insert(pending.end(), buf, buf + n);
            while (pending.size() >= 8) {
                Bytes request(pending.begin(), pending.begin() + 8);
                pending.erase(pending.begin(), pending.begin() + 8);
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    requests_.push_back(request);
                }
                Bytes answer =
                    request[1] == 3
                        ? Sealed({request[0], 0x03, 0x0c, 0, 1, 0, 3, 0, 0, 0, 0, 0, 0, 0, 1})
                        : request;  // a write is echoed
                ::write(master_, answer.data(), answer.size());
            }
        }
    }
    int master_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<Bytes> requests_;
    std::thread thread_;
};

// A run-time tree (bin/Tarnel, gui/, comports/) that is also the runtime directory.
class TarnelOnAPty : public ::testing::Test {
  protected:
    TarnelOnAPty() {
        fs::remove_all(root);
        fs::create_directories(root / "bin");
        fs::create_directories(comDir);
        fs::permissions(root, fs::perms::owner_all);
        fs::copy(SUITE_GUI_SOURCE_DIR, root / "gui");
        fs::create_symlink(fs::path(SUITE_BIN_DIR) / "Tarnel", root / "bin" / "Tarnel");
    }
    ~TarnelOnAPty() override { fs::remove_all(root); }
    void HandOver(const char* comDevUse) {
        std::ofstream(root / "bin" / "COM_Dev_use.txt") << comDevUse;
    }
    // Runs Tarnel in bin/ until it quits by itself: its exit status, or -1 when it was killed.
    int RunTarnel(const char* quitAfter) {
        std::vector<std::string> env = {
            "QT_QPA_PLATFORM=offscreen", std::string("SUITE_QUIT_AFTER=") + quitAfter,
            "COMPORTS_DIR=" + comDir.string(), "XDG_RUNTIME_DIR=" + root.string()};
        std::vector<char*> envp;
        for (auto& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        std::string program = (root / "bin" / "Tarnel").string();
        char* argv[] = {program.data(), nullptr};
        fs::path old = fs::current_path();
        fs::current_path(root / "bin");
        pid_t pid = 0;
        int spawned = ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data());
        fs::current_path(old);
        if (spawned != 0) return -1;
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (::waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Log() {
        std::ifstream in(root / "bin" / "log.txt", std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path root = fs::temp_directory_path() / ("tarnel_e2e_" + std::to_string(::getpid()));
    fs::path comDir = root / "comports";
};

TEST_F(TarnelOnAPty, LinkStartAndRecoveryAreTracedInTheLog) {
    int master = -1, slave = -1;
    char name[128];
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    // Our own slave stays open so the master never reads EIO while Tarnel reopens the port.
    fs::create_symlink(name, comDir / "COM7");
    HandOver("7\n3\n0\n8\n2\n0104");
    std::vector<Bytes> requests;
    {
        Responder instrument(master);
        EXPECT_EQ(RunTarnel("2"), 0);
        requests = instrument.Requests();
    }
    ::close(slave);
    ::close(master);

    // The link start's four; the read-all that follows is not this test's business.
    ASSERT_GE(requests.size(), 4u);
    EXPECT_EQ(requests[0], Sealed({0x01, 0x03, 0x10, 0x00, 0x00, 0x06}));
    EXPECT_EQ(requests[1], Sealed({0x01, 0x05, 0x00, 0x0d, 0x00, 0x01}));
    EXPECT_EQ(requests[2], Sealed({0x01, 0x05, 0x00, 0x0e, 0x00, 0x03}));
    EXPECT_EQ(requests[3], Sealed({0x01, 0x05, 0x00, 0x1d, 0x00, 0x01}));
    const std::string log = Log();
    EXPECT_EQ(log.rfind("gvLogYN = 0 \nOpen COM ( P222,   COM7, 19200, 0, 8, 2 ) \tSet Com Time "
                        "(s) : 0.500000\n\n"
                        "\tP222\tMB.Tx\t#01.03 <1000> (0006) {c108}\tRead\n"
                        "\tP222\tMB.Rx\t#01.03 (0c)   [0001][0003]  [0000][0000]  [0000][0001]  {",
                        0),
              0u)
        << log;
    EXPECT_NE(log.find("\tP222\tMB.Tx\t#01.05 <001d> [0001] {"), std::string::npos) << log;
}

TEST_F(TarnelOnAPty, RecoversTheSimulatedInstrument) {
    // The scanner's hand-over: the simulator on COM8 at station 1, 19200 8N2.
    HandOver("8\n3\n0\n8\n2\n6802");
    conf_test::Child sim;
    ASSERT_TRUE(sim.Spawn(
        {INSTRUMENT_SIM_PATH, "--model", "A", "--com", "8", "--station", "1", "--baud", "19200"},
        comDir.string(), (root / "sim.err").string()));
    ASSERT_EQ(sim.FirstLine().rfind("/dev/pts/", 0), 0u);  // printed once COM8 names it
    ASSERT_TRUE(fs::exists(comDir / "COM8"));
    EXPECT_EQ(RunTarnel("3"), 0);
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(comDir / "COM8")));  // link removed

    const std::string log = Log();
    // Block read answered, then the three recovery writes echoed, then no error line at all.
    EXPECT_NE(log.find("\tP222\tMB.Rx\t#01.03 (0c)   [0001][0003]  "), std::string::npos) << log;
    for (const char* echo : {"<000d> [0001] ", "<000e> [0003] ", "<001d> [0001] "})
        EXPECT_NE(log.find(std::string("\tP222\tMB.Rx\t#01.05 ") + echo), std::string::npos) << log;
    EXPECT_EQ(log.find("\xA1\xB9"), std::string::npos) << log;
}

}  // namespace
