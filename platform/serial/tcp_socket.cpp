#include "platform/serial/tcp_socket.h"

#include <errno.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/serial/serial_error.h"

namespace serial {
namespace {

// Keep-alive probes after 5 s of quiet, every 2 s, 3 unanswered end the connection; data
// unacknowledged for 10 s does the same. A pulled server cable shows within seconds.
constexpr int kKeepIdle = 5;
constexpr int kKeepInterval = 2;
constexpr int kKeepCount = 3;
constexpr unsigned kUserTimeoutMs = 10000;

// Waits for p->events until the deadline: 1 when ready, 0 at the deadline, -1 on error.
int PollUntil(pollfd* p, double deadline) {
    for (;;) {
        double left = deadline - SteadySeconds();
        if (left < 0) left = 0;
        timespec ts{};
        ts.tv_sec = static_cast<time_t>(left);
        ts.tv_nsec = static_cast<long>((left - static_cast<double>(ts.tv_sec)) * 1e9);
        if (ts.tv_nsec >= 1000000000L) ts.tv_nsec = 999999999L;
        int r = ppoll(p, 1, &ts, nullptr);
        if (r >= 0) return r > 0 ? 1 : 0;
        if (errno != EINTR) return -1;
    }
}

std::string ErrorText(int err) {
    std::string text = std::strerror(err);
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

void SetOptions(int fd) {
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &kKeepIdle, sizeof kKeepIdle);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &kKeepInterval, sizeof kKeepInterval);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &kKeepCount, sizeof kKeepCount);
    setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &kUserTimeoutMs, sizeof kUserTimeoutMs);
}

// Connects fd to addr before the deadline: 0, or the errno of the failure (ETIMEDOUT when
// the deadline passed).
int ConnectBefore(int fd, const addrinfo* ai, double deadline) {
    if (connect(fd, ai->ai_addr, ai->ai_addrlen) == 0) return 0;
    if (errno != EINPROGRESS && errno != EINTR) return errno;
    pollfd p{fd, POLLOUT, 0};
    int r = PollUntil(&p, deadline);
    if (r == 0) return ETIMEDOUT;
    if (r < 0) return errno;
    int err = 0;
    socklen_t len = sizeof err;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0) return errno;
    return err;
}

}  // namespace

double SteadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

TcpSocket::~TcpSocket() {
    if (fd_ >= 0) close(fd_);
}

int TcpSocket::Connect(const NetAddress& address, double timeoutSeconds, std::string* detail) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(address.port);
    int rc = getaddrinfo(address.host.c_str(), service.c_str(), &hints, &found);
    if (rc != 0) {
        *detail = address.url + ": cannot resolve host '" + address.host +
                  "': " + (rc == EAI_SYSTEM ? ErrorText(errno) : gai_strerror(rc));
        return kErrNoDevice;
    }
    std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> list(found, freeaddrinfo);

    const double deadline = SteadySeconds() + timeoutSeconds;
    int err = ETIMEDOUT;
    for (const addrinfo* ai = list.get(); ai != nullptr; ai = ai->ai_next) {
        int fd =
            socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd < 0) {
            err = errno;
            continue;
        }
        err = ConnectBefore(fd, ai, deadline);
        if (err == 0) {
            SetOptions(fd);
            if (fd_ >= 0) close(fd_);
            fd_ = fd;
            lost_.clear();
            closed_ = false;
            return 0;
        }
        close(fd);
        if (err == ETIMEDOUT) break;  // the time is spent: no other address gets a chance
    }
    if (err == ETIMEDOUT) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%g", timeoutSeconds);
        *detail = address.url + ": connection timed out after " + seconds + " s";
    } else {
        *detail = address.url + ": " + ErrorText(err);
    }
    return kErrNoDevice;
}

int TcpSocket::Fail(int err) {
    switch (err) {
        case ECONNRESET:
            lost_ = "connection reset by the server";
            break;
        case EPIPE:
            lost_ = "connection closed by the server";
            closed_ = true;
            break;
        case ETIMEDOUT:
            lost_ = "the server stopped answering (connection timed out)";
            break;
        default:
            lost_ = ErrorText(err);
            break;
    }
    return kErrIo;
}

int TcpSocket::SendAll(const std::uint8_t* data, size_t n, double deadline) {
    if (fd_ < 0 || Lost()) return kErrIo;
    size_t done = 0;
    while (done < n) {
        ssize_t w = send(fd_, data + done, n - done, MSG_NOSIGNAL);
        if (w > 0) {
            done += static_cast<size_t>(w);
            continue;
        }
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return Fail(errno);
        pollfd p{fd_, POLLOUT, 0};
        int r = PollUntil(&p, deadline);
        if (r < 0) return Fail(errno);
        if (r == 0) {
            lost_ = "the server takes no more data (send timed out)";
            return kErrIo;
        }
    }
    return 0;
}

int TcpSocket::Receive(std::uint8_t* data, size_t cap, double deadline) {
    if (fd_ < 0 || Lost()) return kErrIo;
    for (;;) {
        ssize_t k = recv(fd_, data, cap, 0);
        if (k > 0) return static_cast<int>(k);
        if (k == 0) {
            lost_ = "connection closed by the server";
            closed_ = true;
            return kErrIo;
        }
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return Fail(errno);
        pollfd p{fd_, POLLIN, 0};
        int r = PollUntil(&p, deadline);
        if (r < 0) return Fail(errno);
        if (r == 0) return 0;
    }
}

}  // namespace serial
