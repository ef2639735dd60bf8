#pragma once
// The simulated instrument behind a serial device server on 127.0.0.1: the simulator's own
// (--listen), or an outside one from Debian in front of the simulator's pseudo-terminal (socat
// as a raw TCP gateway, pyserial's RFC 2217 server). The test links COM5 to the server's URL.

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../support/child_process.h"

namespace nettest {

enum class Server { kSimRfc2217, kSimTcp, kPyserial, kSocat };

inline const char* ServerName(Server s) {
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

inline bool RawTcp(Server s) {
    return s == Server::kSimTcp || s == Server::kSocat;
}

// socat's options for a pseudo-terminal at the instrument's baud rate and stop bits (the pty
// carries no parity, so it is left out).
inline std::string SocatLine(int baud, int stopBits) {
    return ",raw,echo=0,b" + std::to_string(baud) + ",cstopb=" + std::to_string(stopBits - 1);
}

class NetInstrument {
  public:
    NetInstrument() = default;
    NetInstrument(const NetInstrument&) = delete;
    NetInstrument& operator=(const NetInstrument&) = delete;
    ~NetInstrument() {
        if (ptyHolder >= 0) close(ptyHolder);
    }
    // Starts the simulator with `simArgs` (its --model, --station, ... and --log) behind the
    // server; the instrument's line is `baud` and `stopBits` for socat. Returns the URL, or ""
    // with *skip set when the outside server is not installed, or "" with *error set.
    std::string Start(Server server, std::vector<std::string> simArgs, const std::string& dir,
                      int baud, int stopBits, std::string* skip, std::string* error) {
        simErr = dir + "/sim.err";
        std::vector<std::string> argv{INSTRUMENT_SIM_PATH};
        argv.insert(argv.end(), simArgs.begin(), simArgs.end());
        if (server == Server::kSimRfc2217 || server == Server::kSimTcp) {
            argv.insert(argv.end(),
                        {"--listen", server == Server::kSimTcp ? "tcp:0" : "rfc2217:0"});
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
        front = std::make_unique<conf_test::Child>();
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

    conf_test::Child sim;
    std::unique_ptr<conf_test::Child> front;  // the outside server, if any
    std::string simErr;

  private:
    int ptyHolder = -1;  // socat's pty, kept open between its connections
    static std::string Fail(std::string* error, const std::string& why) {
        *error = why;
        return {};
    }
};

}  // namespace nettest
