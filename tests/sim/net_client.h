#pragma once
// A plain client socket on 127.0.0.1 for the simulator's network port, and the Telnet pieces
// the tests send it.

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "sim/telnet_codec.h"
#include "tests/support/frames.h"

namespace conf_test {

using Steady = std::chrono::steady_clock;

// A COM-PORT-OPTION subnegotiation.
inline sim::Bytes Sub(std::uint8_t command, sim::Bytes value) {
    sim::Bytes b = {sim::telnet::kIac, sim::telnet::kSb, sim::telnet::kComPort, command};
    sim::TelnetCodec::Escape(value, &b);
    b.insert(b.end(), {sim::telnet::kIac, sim::telnet::kSe});
    return b;
}
inline sim::Bytes Escaped(const sim::Bytes& data) {
    sim::Bytes b;
    sim::TelnetCodec::Escape(data, &b);
    return b;
}

// A client socket on 127.0.0.1.
class Client {
  public:
    explicit Client(int port) : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<std::uint16_t>(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a), 0) << errno;
    }
    ~Client() { close(fd_); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    void Send(const sim::Bytes& b) {
        EXPECT_EQ(send(fd_, b.data(), b.size(), MSG_NOSIGNAL), static_cast<ssize_t>(b.size()));
    }
    // What comes until `want` bytes are in, the connection ends or the time is up.
    sim::Bytes Read(std::size_t want, double seconds = 2.0) {
        sim::Bytes got;
        const auto until = Steady::now() + std::chrono::duration<double>(seconds);
        while (got.size() < want && end_ == 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(until - Steady::now());
            pollfd p{fd_, POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
            std::uint8_t buf[256];
            const ssize_t n = recv(fd_, buf, std::min(sizeof buf, want - got.size()), 0);
            if (n > 0)
                got.insert(got.end(), buf, buf + n);
            else
                end_ = n == 0 ? -1 : errno;
        }
        return got;
    }
    // 0 while open, -1 after an orderly end, else the error that ended it.
    int End() const { return end_; }

  private:
    int fd_;
    int end_ = 0;
};

// A Telnet client's opening (binary both ways, the COM port option): what came back.
inline sim::Bytes Negotiate(Client& c) {
    using namespace sim::telnet;
    c.Send({kIac, kWill, kBinary, kIac, kDo, kBinary, kIac, kWill, kComPort});
    return c.Read(9);
}

}  // namespace conf_test

namespace simtest = conf_test;
