#include "sim/termios_util.h"

namespace sim {

namespace {

struct Speed {
    int baud;
    speed_t code;
};
constexpr Speed kSpeeds[] = {{2400, B2400},   {4800, B4800},   {9600, B9600},    {19200, B19200},
                             {38400, B38400}, {57600, B57600}, {115200, B115200}};

}  // namespace

bool MakeRaw(const serial::LineSettings& s, termios* tio) {
    speed_t speed = B0;
    for (const Speed& k : kSpeeds)
        if (k.baud == s.baud) speed = k.code;
    if (speed == B0) return false;
    cfmakeraw(tio);
    tio->c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    tio->c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS);
    tio->c_cflag |= CS8 | CLOCAL | CREAD;
    if (s.stopBits == 2) tio->c_cflag |= CSTOPB;
    if (s.parity == serial::kParityOdd) tio->c_cflag |= PARENB | PARODD;
    if (s.parity == serial::kParityEven) tio->c_cflag |= PARENB;
    tio->c_cc[VMIN] = 0;
    tio->c_cc[VTIME] = 0;
    return cfsetispeed(tio, speed) == 0 && cfsetospeed(tio, speed) == 0;
}

int BaudOf(const termios& tio) {
    const speed_t code = cfgetospeed(&tio);
    for (const Speed& k : kSpeeds)
        if (k.code == code) return k.baud;
    return 0;
}

}  // namespace sim
