#pragma once
// The test's ends of a line: a pseudo-terminal whose master side the test holds as the
// instrument, bounded reads from a descriptor, a port's read timed.

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/serial/port.h"

namespace serial_test {

using Bytes = std::vector<std::uint8_t>;

// Up to n bytes from fd; fewer when it closes or none come for `ms` milliseconds.
inline Bytes ReadUpTo(int fd, size_t n, int ms) {
    Bytes b;
    pollfd p{fd, POLLIN, 0};
    while (b.size() < n && poll(&p, 1, ms) > 0) {
        std::uint8_t buf[256];
        ssize_t k = read(fd, buf, std::min(sizeof buf, n - b.size()));
        if (k <= 0) break;
        b.insert(b.end(), buf, buf + k);
    }
    return b;
}

class PtyPair {
  public:
    PtyPair() {
        char name[128] = {};
        EXPECT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
        path = name;
    }
    ~PtyPair() {
        if (master >= 0) close(master);
        if (slave >= 0) close(slave);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    termios SlaveTermios() const {
        termios t{};
        EXPECT_EQ(tcgetattr(slave, &t), 0);
        return t;
    }
    void MasterWrite(const Bytes& b) const {
        ASSERT_EQ(write(master, b.data(), b.size()), static_cast<ssize_t>(b.size()));
    }
    Bytes MasterRead(size_t n, int ms = 1000) const { return ReadUpTo(master, n, ms); }

    int master = -1;
    int slave = -1;
    std::string path;
};

// A port's Read, with the seconds it took in *elapsed.
inline int TimedRead(serial::Port& port, Bytes* in, double timeout, double* elapsed) {
    auto t0 = std::chrono::steady_clock::now();
    int n = port.Read(in->data(), static_cast<int>(in->size()), timeout);
    *elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return n;
}
// The bytes a Read of up to n gave; a failed Read is a test failure.
inline Bytes Got(serial::Port& port, size_t n, double timeout, double* elapsed = nullptr) {
    Bytes in(n);
    double seconds = 0;
    const int k = TimedRead(port, &in, timeout, &seconds);
    EXPECT_GE(k, 0) << "the read failed";
    in.resize(static_cast<size_t>(std::max(k, 0)));
    if (elapsed != nullptr) *elapsed = seconds;
    return in;
}

}  // namespace serial_test
