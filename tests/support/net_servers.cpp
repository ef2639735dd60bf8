#include "tests/support/net_servers.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace conf_test {

const char* ServerName(Server s) {
    switch (s) {
        case Server::kSimRfc2217:
            return "SimRfc2217";
        case Server::kSimTcp:
            return "SimTcp";
        case Server::kPyserial:
            return "Pyserial";
        default:
            return "Socat";
    }
}

namespace {

// socat's options for a pseudo-terminal at the instrument's baud rate and stop bits (the pty
// carries no parity, so it is left out).
std::string SocatLine(int baud, int stopBits) {
    return ",raw,echo=0,b" + std::to_string(baud) + ",cstopb=" + std::to_string(stopBits - 1);
}

}  // namespace

NetInstrument::~NetInstrument() {
    if (ptyHolder >= 0) close(ptyHolder);
}

std::string NetInstrument::Fail(std::string* error, const std::string& why) {
    *error = why;
    return {};
}

std::string NetInstrument::Start(Server server, std::vector<std::string> simArgs,
                                 const std::string& dir, int baud, int stopBits, std::string* skip,
                                 std::string* error) {
    simErr = dir + "/sim.err";
    std::vector<std::string> argv{INSTRUMENT_SIM_PATH};
    argv.insert(argv.end(), simArgs.begin(), simArgs.end());
    if (server == Server::kSimRfc2217 || server == Server::kSimTcp) {
        argv.insert(argv.end(), {"--listen", server == Server::kSimTcp ? "tcp:0" : "rfc2217:0"});
        if (!sim.Spawn(argv, dir, simErr)) return Fail(error, "the simulator did not start");
        const std::string line = sim.FirstLine();
        const std::string head = "listening on ";
        if (line.rfind(head, 0) != 0) return Fail(error, "simulator said: " + line);
        return line.substr(head.size());
    }
    if (server == Server::kSocat && access("/usr/bin/socat", X_OK) != 0) {
        *skip = "socat is not installed (scripts/install-deps installs it)";
        return {};
    }
    if (!sim.Spawn(argv, dir, simErr)) return Fail(error, "the simulator did not start");
    const std::string pty = sim.FirstLine();
    if (pty.rfind("/dev/pts/", 0) != 0) return Fail(error, "simulator said: " + pty);
    front = std::make_unique<Child>();
    std::string port;
    if (server == Server::kSocat) {
        // One connection after another, each a child of its own on the same pty. A pty's
        // settings go back to 38400 8N1 whenever its last user closes it: held open here, the
        // line keeps the gateway's settings between connections, as a device server's does.
        ptyHolder = open(pty.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios t{};
        if (ptyHolder < 0 || tcgetattr(ptyHolder, &t) != 0)
            return Fail(error, "cannot open " + pty);
        cfmakeraw(&t);
        cfsetspeed(&t, baud == 9600 ? B9600 : B19200);
        if (stopBits == 2) t.c_cflag |= CSTOPB;
        tcsetattr(ptyHolder, TCSANOW, &t);
        // -t 0: a child whose client has gone ends at once instead of reading the pty on
        // for half a second, taking the answers meant for the next connection.
        if (!front->Spawn({"/usr/bin/socat", "-d", "-d", "-t", "0", "-lf", "/dev/stdout",
                           "TCP-LISTEN:0,bind=127.0.0.1,reuseaddr,fork",
                           "FILE:" + pty + SocatLine(baud, stopBits)},
                          dir, dir + "/front.err"))
            return Fail(error, "socat did not start");
        const std::string line = front->FirstLine();
        port = line.substr(line.rfind(':') + 1);
        if (port.empty()) return Fail(error, "socat said: " + line);
        return "tcp://127.0.0.1:" + port;
    }
    if (!front->Spawn({"/usr/bin/python3", RFC2217_PTY_SERVER, pty}, dir, dir + "/front.err"))
        return Fail(error, "python3 did not start");
    port = front->FirstLine();
    if (port.empty() && front->Wait() == 77) {
        *skip = "python3-serial is not installed (scripts/install-deps installs it)";
        return {};
    }
    if (port.empty()) return Fail(error, "the RFC 2217 server did not start");
    return "rfc2217://127.0.0.1:" + port;
}

}  // namespace conf_test
