#pragma once
// The simulated instrument behind a serial device server on 127.0.0.1: the simulator's own
// (--listen), or an outside one from Debian in front of the simulator's pseudo-terminal (socat
// as a raw TCP gateway, pyserial's RFC 2217 server). The test links COM5 to the server's URL.

#include <memory>
#include <string>
#include <vector>

#include "tests/support/child_process.h"

namespace conf_test {

enum class Server { kSimRfc2217, kSimTcp, kPyserial, kSocat };

const char* ServerName(Server s);

class NetInstrument {
  public:
    NetInstrument() = default;
    NetInstrument(const NetInstrument&) = delete;
    NetInstrument& operator=(const NetInstrument&) = delete;
    ~NetInstrument();
    // Starts the simulator with `simArgs` (its --model, --station, ... and --log) behind the
    // server; the instrument's line is `baud` and `stopBits` for socat. Returns the URL, or ""
    // with *skip set when the outside server is not installed, or "" with *error set.
    std::string Start(Server server, std::vector<std::string> simArgs, const std::string& dir,
                      int baud, int stopBits, std::string* skip, std::string* error);

    Child sim;
    std::unique_ptr<Child> front;  // the outside server, if any
    std::string simErr;

  private:
    int ptyHolder = -1;  // socat's pty, kept open between its connections
    static std::string Fail(std::string* error, const std::string& why);
};

}  // namespace conf_test

namespace nettest = conf_test;
