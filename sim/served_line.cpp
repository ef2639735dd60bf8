#include "sim/served_line.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sim {

ServedLine::~ServedLine() = default;

int ServedLine::Receive(short events, std::vector<LineInput>* in, std::string* error) {
    if (events & POLLIN) {
        std::uint8_t buf[512];
        const ssize_t got = read(Fd(), buf, sizeof buf);
        if (got > 0) {
            in->push_back(LineInput{MasterSettings(), Bytes(buf, buf + got), 0});
            return 0;
        }
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
        if (got < 0 && errno != EIO) {
            if (error) *error = Path() + ": " + std::strerror(errno);
            return -1;
        }
        return kLineHungUp;  // end of file or EIO: the other side is closed
    }
    return (events & (POLLHUP | POLLERR)) ? kLineHungUp : 0;
}

void ServedLine::Send(const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = write(Fd(), bytes.data() + done, bytes.size() - done);
        if (w > 0) {
            done += static_cast<std::size_t>(w);
        } else if (w < 0 && errno == EINTR) {
            continue;
        } else {
            return;  // nobody is taking bytes off the line (full or hung up): they are lost
        }
    }
}

}  // namespace sim
