#include "bench/sim_process.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace bench {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The blank-separated words of `text`.
std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while ((at = text.find_first_not_of(' ', at)) != std::string::npos) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        words.push_back(text.substr(at, end - at));
        at = end;
    }
    return words;
}

// Two-digit hexadecimal bytes, from words[first] on.
bool HexBytes(const std::vector<std::string>& words, std::size_t first, Frame* out) {
    for (std::size_t i = first; i < words.size(); ++i) {
        const std::string& w = words[i];
        const int high = w.size() == 2 ? HexDigit(w[0]) : -1;
        const int low = w.size() == 2 ? HexDigit(w[1]) : -1;
        if (high < 0 || low < 0) return false;
        out->push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return true;
}

// "instrument-sim: client 127.0.0.1:40184 connected" (or "has gone").
bool IsConnectionNote(const std::string& line) {
    const std::string head = "instrument-sim: client ";
    const auto ends = [&](const std::string& tail) {
        return line.size() >= tail.size() &&
               line.compare(line.size() - tail.size(), tail.size(), tail) == 0;
    };
    return line.rfind(head, 0) == 0 && (ends(" connected") || ends(" has gone"));
}

int Fail(const char* what, int err, std::string* error) {
    *error = std::string(what) + ": " + std::strerror(err);
    return -1;
}

}  // namespace

bool ParseRequestLogLine(const std::string& line, LoggedRequest* out) {
    const std::size_t arrow = line.find(" -> ");
    if (arrow == std::string::npos) return false;
    // Time, baud rate, character format, then the request's bytes.
    const std::vector<std::string> words = Words(line.substr(0, arrow));
    if (words.size() < 4) return false;
    LoggedRequest r;
    char* end = nullptr;
    r.at = std::strtod(words[0].c_str(), &end);
    if (end != words[0].c_str() + words[0].size()) return false;
    if (!HexBytes(words, 3, &r.request)) return false;
    const std::string rest = line.substr(arrow + 4);
    const std::size_t colon = rest.find(": ");
    r.outcome = rest.substr(0, colon);
    if (colon != std::string::npos && !HexBytes(Words(rest.substr(colon + 2)), 0, &r.answer))
        return false;
    *out = std::move(r);
    return true;
}

int SimProcess::Start(const std::string& program, const std::vector<std::string>& args,
                      std::string* error) {
    int outFds[2];
    int errFds[2];
    if (::pipe2(outFds, O_CLOEXEC) != 0) return Fail("pipe", errno, error);
    if (::pipe2(errFds, O_CLOEXEC) != 0) {
        const int err = errno;
        ::close(outFds[0]);
        ::close(outFds[1]);
        return Fail("pipe", err, error);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errFds[1], STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int spawned =
        ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(outFds[1]);
    ::close(errFds[1]);
    out_ = outFds[0];
    err_ = errFds[0];
    // Read only what is there: the log is taken between commands, never waited for.
    ::fcntl(err_, F_SETFL, ::fcntl(err_, F_GETFL) | O_NONBLOCK);
    if (spawned != 0) {
        pid_ = -1;
        return Fail(program.c_str(), spawned, error);
    }
    return 0;
}

std::string SimProcess::FirstLine(double seconds) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (out_ >= 0 && std::chrono::steady_clock::now() < deadline) {
        pollfd p{out_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        char c = 0;
        if (::read(out_, &c, 1) != 1) break;
        if (c == '\n') return line;
        line += c;
    }
    ReadErrors(nullptr);  // a simulator that could not start says why there
    return {};
}

std::vector<LoggedRequest> SimProcess::TakeRequests() {
    std::vector<LoggedRequest> requests;
    ReadErrors(&requests);
    return requests;
}

void SimProcess::ReadErrors(std::vector<LoggedRequest>* requests) {
    if (err_ < 0) return;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(err_, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        partial_.append(buf, static_cast<std::size_t>(n));
    }
    std::size_t start = 0;
    for (std::size_t end; (end = partial_.find('\n', start)) != std::string::npos;
         start = end + 1) {
        const std::string line = partial_.substr(start, end - start);
        LoggedRequest r;
        if (ParseRequestLogLine(line, &r)) {
            if (requests) requests->push_back(std::move(r));
        } else if (IsConnectionNote(line)) {
            // A network client coming and going, as at every reopening: not worth a line.
        } else {
            std::fprintf(stderr, "%s\n", line.c_str());
        }
    }
    partial_.erase(0, start);
}

void SimProcess::Stop() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
    }
    if (err_ >= 0) {
        ReadErrors(nullptr);
        if (!partial_.empty()) std::fprintf(stderr, "%s\n", partial_.c_str());
        partial_.clear();
        ::close(err_);
    }
    if (out_ >= 0) ::close(out_);
    out_ = err_ = -1;
}

}  // namespace bench
