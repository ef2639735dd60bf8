#include "sim/options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sim {

namespace {

bool ToNumber(const std::string& text, long long min, long long max, long long* out) {
    if (text.empty()) return false;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(text.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || *end != '\0' || v < min || v > max) return false;
    *out = v;
    return true;
}

bool ToInt(const std::string& text, int min, int max, int* out) {
    long long v = 0;
    if (!ToNumber(text, min, max, &v)) return false;
    *out = static_cast<int>(v);
    return true;
}

// A baud-rate index 0..3 or the rate itself.
bool ToBaudIndex(const std::string& text, int* out) {
    long long v = 0;
    if (!ToNumber(text, 0, 115200, &v)) return false;
    if (v >= 0 && v <= 3) {
        *out = static_cast<int>(v);
        return true;
    }
    for (int i = 0; i < 4; ++i)
        if (v == 2400 << i) {
            *out = i;
            return true;
        }
    return false;
}

// A frame-format index 0..3 or its name.
bool ToFormatIndex(const std::string& text, int* out) {
    static constexpr const char* kNames[] = {"8N1", "8N2", "8O1", "8E1"};
    for (int i = 0; i < 4; ++i) {
        std::string upper;
        for (char c : text)
            upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        if (upper == kNames[i]) {
            *out = i;
            return true;
        }
    }
    return ToInt(text, 0, 3, out);
}

// "tcp:PORT" or "rfc2217:PORT", PORT 0..65535.
bool ToListen(const std::string& text, NetProtocol* protocol, int* port) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) return false;
    const std::string name = text.substr(0, colon);
    if (name == "tcp")
        *protocol = NetProtocol::kRawTcp;
    else if (name == "rfc2217")
        *protocol = NetProtocol::kRfc2217;
    else
        return false;
    return ToInt(text.substr(colon + 1), 0, 65535, port);
}

// "19200,8N2": a speed the line takes, then data bits 5..8, parity N/O/E/M/S, stop bits 1..2.
bool ToGateway(const std::string& text, serial::LineSettings* out) {
    static constexpr char kParity[] = "NOEMS";
    const auto comma = text.find(',');
    if (comma == std::string::npos || text.size() != comma + 4) return false;
    serial::LineSettings s;
    long long baud = 0;
    if (!ToNumber(text.substr(0, comma), 1, 115200, &baud)) return false;
    s.baud = static_cast<int>(baud);
    const char bits = text[comma + 1], parity = text[comma + 2], stop = text[comma + 3];
    const char upper =
        parity >= 'a' && parity <= 'z' ? static_cast<char>(parity - 'a' + 'A') : parity;
    const char* p = upper == '\0' ? nullptr : std::strchr(kParity, upper);
    if (!p || bits < '5' || bits > '8' || (stop != '1' && stop != '2')) return false;
    s.dataBits = bits - '0';
    s.parity = static_cast<int>(p - kParity);
    s.stopBits = stop - '0';
    if (serial::CheckLineSettings(s) != 0) return false;
    *out = s;
    return true;
}

}  // namespace

std::string UsageText() {
    return "usage: instrument-sim [--model A|B] [--code N] [--fw N] [--station N] [--baud N]\n"
           "                      [--format N] [--serial N] [--com N [--force]] [--device PATH]\n"
           "                      [--no-pacing] [--turnaround MS] [--open-sensor] [--echo]\n"
           "                      [--log]\n"
           "                      [--fault WHAT]...\n"
           "                      [--listen tcp:PORT|rfc2217:PORT [--gateway BAUD,FORMAT]\n"
           "                       [--net-delay MS]]\n"
           "\n"
           "A simulated panel instrument speaking Modbus RTU on a new pseudo-terminal (or on\n"
           "--device). Prints the port's path on the first line of standard output.\n"
           "With --listen it stands behind a serial device server on 127.0.0.1:PORT instead\n"
           "(PORT 0: any free port) and prints \"listening on tcp://127.0.0.1:PORT\" (or\n"
           "rfc2217://...). One client at a time: another is refused while one is connected.\n"
           "\n"
           "  --model A|B      instrument model (A: Tarnel, code 104; B: Ombrel, code 105)\n"
           "  --code N         model code in register 0x1F00 (0..255, 0x.. for hex)\n"
           "  --fw N           firmware version 1..9 (A: 2, B: 3)\n"
           "  --station N      station number 1..255 (1)\n"
           "  --baud N         2400, 4800, 9600, 19200 or the index 0..3 (19200)\n"
           "  --format N       8N1, 8N2, 8O1, 8E1 or the index 0..3 (8N2)\n"
           "  --serial N       serial number (1305280001)\n"
           "  --com N          place COM<N> in the COM folder ($COMPORTS_DIR, else\n"
           "                   $XDG_CONFIG_HOME/comports, else ~/.config/comports); removed on "
           "exit\n"
           "  --force          take over a COM<N> link that names another device\n"
           "  --device PATH    serve this serial device instead of a pseudo-terminal\n"
           "  --no-pacing      answer at once instead of at the line's character time\n"
           "  --turnaround MS  pause between request and answer in milliseconds (3)\n"
           "  --open-sensor    start with the sensor open (process value 0x7FFF; model A)\n"
           "  --echo           hand every received byte back before answering, as a\n"
           "                   half-duplex RS-485 adapter without echo suppression does\n"
           "                   (the programs then need echo=on in the port's COM<N>.conf)\n"
           "  --log            print every request to standard error\n"
           "  --fault WHAT     silence | cut=N | late=S | bad-crc | noise=N | exception=N |\n"
           "                   vanish | reset | stall | echo-garbled | echo-lost, then\n"
           "                   optionally ,after=N and ,count=N (0: every one). reset: half\n"
           "                   the answer, then the connection is reset; stall: the\n"
           "                   connection stays open and passes nothing until the client\n"
           "                   reconnects (both with --listen only); echo-garbled: a wrong\n"
           "                   byte in the echo, echo-lost: no echo, the answer as usual\n"
           "                   (both with --echo only)\n"
           "  --listen tcp:PORT      a transparent gateway: raw bytes, its serial settings\n"
           "                   fixed; once the instrument changes its own, it is not heard\n"
           "  --listen rfc2217:PORT  a Telnet port server (COM-PORT-OPTION): the client sets\n"
           "                   the serial settings, parity included\n"
           "  --gateway BAUD,FORMAT  the server's serial settings, e.g. 9600,8E1 (the\n"
           "                   instrument's own); for rfc2217 those of each new connection\n"
           "  --net-delay MS   network delay added to every answer in milliseconds (0)\n"
           "\n"
           "A 0xFF data byte in an answer: --code 0xFF (register 0x1F00) or --serial\n"
           "0xFF000000 (register 0x1F02).\n"
           "\n"
           "Signals: SIGINT/SIGTERM end it, SIGHUP power-cycles the instrument, SIGUSR1\n"
           "switches the open sensor on and off, SIGUSR2 stalls the network connection (it\n"
           "stays open and passes nothing) or lets it pass again.\n";
}

int ParseOptions(const std::vector<std::string>& args, ProgramOptions* out, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return -1;
    };
    struct Given {
        std::string name, value;
    };
    std::vector<Given> given;
    Model model = Model::kA;
    ProgramOptions o;
    static constexpr const char* kFlags[] = {
        "--force", "--no-pacing", "--open-sensor", "--log", "--echo", "--help", "-h"};
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        const auto eq = name.find('=');
        if (name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        bool flag = false;
        for (const char* f : kFlags)
            flag = flag || name == f;
        if (flag) {
            if (hasValue) return fail(name + " takes no value");
            given.push_back({name, ""});
            continue;
        }
        if (name.rfind("-", 0) != 0) return fail("unexpected argument \"" + name + "\"");
        if (!hasValue) {
            if (i + 1 >= args.size()) return fail(name + " needs a value");
            value = args[++i];
        }
        if (name == "--model") {
            if (value == "A" || value == "a")
                model = Model::kA;
            else if (value == "B" || value == "b")
                model = Model::kB;
            else
                return fail("--model takes A or B, not \"" + value + "\"");
        }
        given.push_back({name, value});
    }

    o.instrument = DefaultConfig(model);
    bool gatewayGiven = false;
    bool netDelayGiven = false;
    InstrumentConfig& c = o.instrument;
    for (const Given& g : given) {
        const std::string& n = g.name;
        const std::string& v = g.value;
        long long big = 0;
        int ms = 0;
        bool ok = true;
        if (n == "--model") {
        } else if (n == "--help" || n == "-h") {
            o.help = true;
        } else if (n == "--force") {
            o.force = true;
        } else if (n == "--no-pacing") {
            c.paced = false;
        } else if (n == "--open-sensor") {
            if (c.model != Model::kA)
                return fail(
                    "--open-sensor plays model A's open sensor (0x7FFF); model B sends "
                    "every process value as a number");
            c.openSensor = true;
        } else if (n == "--log") {
            o.log = true;
        } else if (n == "--echo") {
            c.echo = true;
        } else if (n == "--code") {
            ok = ToInt(v, 0, 255, &c.code);
        } else if (n == "--fw") {
            ok = ToInt(v, 1, 9, &c.firmware);
        } else if (n == "--station") {
            ok = ToInt(v, 1, 255, &c.station);
        } else if (n == "--baud") {
            ok = ToBaudIndex(v, &c.baudIndex);
        } else if (n == "--format") {
            ok = ToFormatIndex(v, &c.formatIndex);
        } else if (n == "--serial") {
            ok = ToNumber(v, 0, 4294967295LL, &big);
            c.serialNumber = static_cast<std::uint32_t>(big);
        } else if (n == "--com") {
            ok = ToInt(v, 1, 256, &o.com);
        } else if (n == "--device") {
            ok = !v.empty();
            o.device = v;
        } else if (n == "--turnaround") {
            ok = ToInt(v, 0, 10000, &ms);
            c.turnaround = ms / 1000.0;
        } else if (n == "--listen") {
            ok = ToListen(v, &o.listen, &o.listenPort);
        } else if (n == "--gateway") {
            ok = ToGateway(v, &o.gateway);
            gatewayGiven = ok;
        } else if (n == "--net-delay") {
            ok = ToInt(v, 0, 60000, &ms);
            o.netDelay = ms / 1000.0;
            netDelayGiven = true;
        } else if (n == "--fault") {
            Fault f;
            std::string why;
            if (ParseFault(v, &f, &why) != 0) return fail(why);
            o.faults.push_back(f);
        } else {
            return fail("unknown option " + n);
        }
        if (!ok) return fail(n + ": \"" + v + "\" is not a valid value");
    }
    if (o.force && o.com == 0) return fail("--force goes with --com");
    const bool net = o.listen != NetProtocol::kNone;
    if (net && (o.com != 0 || !o.device.empty()))
        return fail("--listen does not go with --com or --device");
    if (!net && gatewayGiven) return fail("--gateway goes with --listen");
    if (!net && netDelayGiven) return fail("--net-delay goes with --listen");
    for (const Fault& f : o.faults)
        if (!net && (f.kind == FaultKind::kReset || f.kind == FaultKind::kStall))
            return fail(std::string("fault ") + FaultName(f.kind) + " goes with --listen");
    for (const Fault& f : o.faults)
        if (!c.echo && (f.kind == FaultKind::kEchoGarbled || f.kind == FaultKind::kEchoLost))
            return fail(std::string("fault ") + FaultName(f.kind) + " goes with --echo");
    std::string why;
    if (CheckConfig(c, &why) != 0) return fail(why);
    if (!gatewayGiven) o.gateway = LinkSettings(c.baudIndex, c.formatIndex);
    *out = o;
    return 0;
}

}  // namespace sim
