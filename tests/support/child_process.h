#pragma once
// A program of the run-time tree as a child process of a test, in real time.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace conf_test {

// A child process with its standard output on a pipe and its standard error in a file.
class Child {
  public:
    ~Child() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
    }
    bool Spawn(const std::vector<std::string>& argv, const std::string& comDir,
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
    // Standard output up to its first line end, or what came within the time.
    std::string FirstLine(double seconds = 5.0) {
        std::string text = Read(seconds, true);
        return text.substr(0, text.find('\n'));
    }
    // Standard output until it closes, or what came within the time.
    std::string Rest(double seconds = 5.0) { return Read(seconds, false); }
    // The exit code, or -1 if it had not ended within the time (it is then killed).
    int Wait(double seconds = 5.0) {
        const auto until =
            std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
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
    int Stop() {
        kill(pid_, SIGTERM);
        return Wait();
    }
    void Signal(int signal) { kill(pid_, signal); }

  private:
    std::string Read(double seconds, bool oneLine) {
        std::string text;
        const auto until =
            std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
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

    pid_t pid_ = -1;
    int out_ = -1;
};

}  // namespace conf_test
