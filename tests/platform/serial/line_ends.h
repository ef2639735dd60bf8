#pragma once
// The test's ends of a line: bounded reads from a descriptor, a port's read timed.

#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
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

// A port's Read, with the seconds it took in *elapsed.
inline int TimedRead(serial::Port& port, Bytes* in, double timeout, double* elapsed) {
    auto t0 = std::chrono::steady_clock::now();
    int n = port.Read(in->data(), static_cast<int>(in->size()), timeout);
    *elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return n;
}
// The bytes a Read of up to n gave; a failed Read is a test failure.
inline Bytes Got(serial::Port& port, size_t n, double timeout, double* elapsed) {
    Bytes in(n);
    const int k = TimedRead(port, &in, timeout, elapsed);
    EXPECT_GE(k, 0) << "the read failed";
    in.resize(static_cast<size_t>(std::max(k, 0)));
    return in;
}

}  // namespace serial_test
