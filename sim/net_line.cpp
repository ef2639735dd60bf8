#include "sim/net_line.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sim/telnet_codec.h"

namespace sim {

namespace {

// Reads one call takes from a client before it lets the answers out again.
constexpr int kMaxReads = 16;
constexpr char kInUse[] = "Port already in use\r\n";

class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    void Close() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }
    void Reset(int fd) {
        Close();
        fd_ = fd;
    }
    // Hands the descriptor over to a new owner.
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_;
};

std::string PeerName(const sockaddr_in& a) {
    char host[INET_ADDRSTRLEN] = "?";
    inet_ntop(AF_INET, &a.sin_addr, host, sizeof host);
    return std::string(host) + ":" + std::to_string(ntohs(a.sin_port));
}

class NetLine final : public ServedLine {
  public:
    NetLine(const NetLineOptions& options, int listener, int epoll, std::string path)
        : options_(options), listener_(listener), epoll_(epoll), path_(std::move(path)) {}
    NetLine(const NetLine&) = delete;
    NetLine& operator=(const NetLine&) = delete;

    int Fd() const override { return epoll_.Get(); }
    const std::string& Path() const override { return path_; }
    // The device server's port takes the master's settings whole, parity included.
    LineCheck Check() const override { return LineCheck::kAllFields; }
    serial::LineSettings MasterSettings() override {
        return codec_ ? codec_->Settings() : options_.settings;
    }
    // The port keeps the settings of the gateway or the client, whatever the instrument does.
    int Follow(const serial::LineSettings&) override { return 0; }
    bool OutlivesHangUp() const override { return true; }
    double Latency() const override { return options_.delay; }

    int Receive(short events, std::vector<LineInput>* in, std::string* error) override;
    void Send(const Bytes& bytes) override;
    void Reset() override;
    void Stall() override { stalled_ = client_.Valid(); }
    void SetStalled(bool on) override { hung_ = stalled_ = on; }
    bool Stalled() const override { return hung_ || stalled_; }

  private:
    void Notice(const std::string& text) {
        if (options_.onNotice) options_.onNotice(text);
    }
    int Accept(std::vector<LineInput>* in, std::string* error);
    void ReadClient(std::vector<LineInput>* in);
    // Closes the client's connection; everything still pending for it goes with the next
    // Receive.
    void Drop();
    void Write(const Bytes& bytes);

    NetLineOptions options_;
    Descriptor listener_;
    Descriptor epoll_;
    Descriptor client_;
    std::string path_;
    std::string peer_;
    std::unique_ptr<TelnetCodec> codec_;
    bool dropped_ = false;  // a connection has ended since the last Receive
    bool stalled_ = false;  // this connection
    bool hung_ = false;     // every connection
};

int NetLine::Receive(short, std::vector<LineInput>* in, std::string* error) {
    // The client first: one that has just left makes room for one that has just come.
    if (client_.Valid()) ReadClient(in);
    if (dropped_) in->push_back(LineInput{options_.settings, {}, kPurgeInput | kPurgeOutput});
    dropped_ = false;
    return Accept(in, error);
}

void NetLine::ReadClient(std::vector<LineInput>* in) {
    std::uint8_t buf[512];
    for (int i = 0; i < kMaxReads; ++i) {
        const ssize_t got = recv(client_.Get(), buf, sizeof buf, MSG_DONTWAIT);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        if (got <= 0) {
            Notice("client " + peer_ + " has gone" +
                   (got < 0 ? std::string(" (") + std::strerror(errno) + ")" : std::string()));
            Drop();
            return;
        }
        if (Stalled()) continue;  // a hung device server takes nothing in
        if (!codec_) {
            in->push_back(LineInput{options_.settings, Bytes(buf, buf + got), 0});
            continue;
        }
        Bytes reply;
        codec_->Receive(buf, static_cast<std::size_t>(got), in, &reply);
        Write(reply);
        if (!client_.Valid()) return;
    }
}

int NetLine::Accept(std::vector<LineInput>* in, std::string* error) {
    for (;;) {
        sockaddr_in peer{};
        socklen_t size = sizeof peer;
        const int fd = accept4(listener_.Get(), reinterpret_cast<sockaddr*>(&peer), &size,
                               SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
            // Errors of the connection being accepted, not of the listener: try the next one.
            if (errno == EINTR || errno == ECONNABORTED || errno == EPROTO || errno == EPERM ||
                errno == ENETDOWN || errno == EHOSTUNREACH || errno == ENETUNREACH)
                continue;
            // Out of descriptors or memory: the waiting client stays queued; look again later.
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                Notice(std::string("cannot accept a client: ") + std::strerror(errno));
                return 0;
            }
            if (error) *error = path_ + ": " + std::strerror(errno);
            return -1;
        }
        Descriptor taken(fd);
        if (client_.Valid()) {
            // One client at a time, as on a device server's port.
            if (!codec_) send(fd, kInUse, sizeof kInUse - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
            Notice("refused " + PeerName(peer) + ": " + peer_ + " is connected");
            continue;
        }
        epoll_event ev{};
        ev.events = EPOLLIN | EPOLLRDHUP;
        ev.data.fd = fd;
        if (epoll_ctl(epoll_.Get(), EPOLL_CTL_ADD, fd, &ev) != 0) {
            Notice(std::string("cannot watch a client: ") + std::strerror(errno));
            continue;
        }
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);  // answers go out whole, now
        client_.Reset(taken.Release());
        peer_ = PeerName(peer);
        stalled_ = false;
        if (options_.protocol == NetProtocol::kRfc2217)
            codec_ = std::make_unique<TelnetCodec>(options_.settings);
        // Nothing of an earlier client's exchange carries over.
        in->push_back(LineInput{MasterSettings(), {}, kPurgeInput | kPurgeOutput});
        Notice("client " + peer_ + " connected");
    }
}

void NetLine::Drop() {
    epoll_ctl(epoll_.Get(), EPOLL_CTL_DEL, client_.Get(), nullptr);
    client_.Close();
    codec_.reset();
    stalled_ = false;
    dropped_ = true;
}

void NetLine::Write(const Bytes& bytes) {
    std::size_t done = 0;
    while (client_.Valid() && done < bytes.size()) {
        const ssize_t w = send(client_.Get(), bytes.data() + done, bytes.size() - done,
                               MSG_NOSIGNAL | MSG_DONTWAIT);
        if (w > 0) {
            done += static_cast<std::size_t>(w);
        } else if (w < 0 && errno == EINTR) {
            continue;
        } else {
            // A full socket loses the rest, as a full line would; a broken one is closed.
            if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
                Notice("client " + peer_ + " has gone (" + std::strerror(errno) + ")");
                Drop();
            }
            return;
        }
    }
}

void NetLine::Send(const Bytes& bytes) {
    if (!client_.Valid() || Stalled()) return;
    if (!codec_) {
        Write(bytes);
        return;
    }
    Bytes escaped;
    TelnetCodec::Escape(bytes, &escaped);
    Write(escaped);
}

void NetLine::Reset() {
    if (!client_.Valid()) return;
    // No lingering: close sends a reset instead of an orderly end.
    const linger off{1, 0};
    setsockopt(client_.Get(), SOL_SOCKET, SO_LINGER, &off, sizeof off);
    Notice("connection to " + peer_ + " reset");
    Drop();
}

}  // namespace

const char* NetProtocolName(NetProtocol protocol) {
    return protocol == NetProtocol::kRfc2217 ? "rfc2217" : "tcp";
}

int OpenNetLine(const NetLineOptions& options, std::unique_ptr<ServedLine>* out,
                std::string* error) {
    auto fail = [&](const std::string& what) {
        if (error) *error = what + ": " + std::strerror(errno);
        return -1;
    };
    if (options.protocol == NetProtocol::kNone || options.port < 0 || options.port > 65535) {
        if (error) *error = "no network protocol or port to listen on";
        return -1;
    }
    Descriptor listener(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!listener.Valid()) return fail("cannot open a socket");
    const int on = 1;
    setsockopt(listener.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(options.port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const std::string where = "127.0.0.1:" + std::to_string(options.port);
    if (bind(listener.Get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
        return fail("cannot listen on " + where);
    if (listen(listener.Get(), 8) != 0) return fail("cannot listen on " + where);
    socklen_t size = sizeof addr;
    if (getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&addr), &size) != 0)
        return fail("cannot name the socket");
    Descriptor epoll(epoll_create1(EPOLL_CLOEXEC));
    if (!epoll.Valid()) return fail("cannot watch the socket");
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.fd = listener.Get();
    if (epoll_ctl(epoll.Get(), EPOLL_CTL_ADD, listener.Get(), &ev) != 0)
        return fail("cannot watch the socket");
    const std::string path = std::string(NetProtocolName(options.protocol)) +
                             "://127.0.0.1:" + std::to_string(ntohs(addr.sin_port));
    *out = std::make_unique<NetLine>(options, listener.Release(), epoll.Release(), path);
    return 0;
}

}  // namespace sim
