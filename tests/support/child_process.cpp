#include "tests/support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace conf_test {

Child::~Child() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
}

bool Child::Spawn(const std::vector<std::string>& argv, const std::string& comDir,
                  const std::string& errFile) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return false;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(pipeFds[1], 1);
        int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (err >= 0) dup2(err, 2);
        setenv("COMPORTS_DIR", comDir.c_str(), 1);
        std::vector<char*> args;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(pipeFds[1]);
    out_ = pipeFds[0];
    return pid_ > 0;
}

std::string Child::FirstLine(double seconds) {
    std::string text = Read(seconds, true);
    return text.substr(0, text.find('\n'));
}

int Child::Wait(double seconds) {
    if (pid_ <= 0) return -1;  // never started, or already reaped: waitpid(-1) would take any child
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    while (std::chrono::steady_clock::now() < until) {
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return -1;
}

int Child::Stop() {
    if (pid_ <= 0) return -1;  // kill(-1) would signal every process of the user
    kill(pid_, SIGTERM);
    return Wait();
}

void Child::Signal(int signal) {
    if (pid_ > 0) kill(pid_, signal);
}

std::string Child::Read(double seconds, bool oneLine) {
    std::string text;
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!(oneLine && text.find('\n') != std::string::npos) &&
           std::chrono::steady_clock::now() < until) {
        pollfd p{out_, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0) continue;
        char buf[256];
        ssize_t n = read(out_, buf, sizeof buf);
        if (n <= 0) break;
        text.append(buf, static_cast<std::size_t>(n));
    }
    return text;
}

}  // namespace conf_test
