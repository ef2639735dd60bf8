#include "batch/batch_options.h"

#include <cctype>
#include <cstdlib>

namespace batch {

namespace {

bool AllDigits(const std::string& s) {
    if (s.empty() || s.size() > 9) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// The value after an option: 0, or -1 when it is missing.
int TakeValue(const std::vector<std::string>& args, std::size_t* i, std::string* value,
              std::string* error) {
    if (*i + 1 >= args.size() || args[*i + 1].empty()) {
        *error = args[*i] + " needs a value";
        return -1;
    }
    *value = args[++*i];
    return 0;
}

// --help and --version win over anything else on the line.
bool Informational(const std::vector<std::string>& args, Options* out) {
    for (const auto& a : args) {
        if (a == "--help" || a == "-h") {
            out->action = Action::Help;
            return true;
        }
    }
    for (const auto& a : args) {
        if (a == "--version") {
            out->action = Action::Version;
            return true;
        }
    }
    return false;
}

}  // namespace

int ParseConfiguratorArgs(const std::vector<std::string>& args, Options* out, std::string* error) {
    Options o;
    if (Informational(args, &o)) {
        *out = o;
        return 0;
    }
    bool save = false, load = false, write = false, watch = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string value;
        if (a == "--port" || a == "--workdir" || a == "--save" || a == "--load" || a == "--watch") {
            if (TakeValue(args, &i, &value, error) < 0) return -1;
        }
        if (a == "--port") {
            o.port = value;
        } else if (a == "--workdir") {
            o.workdir = value;
        } else if (a == "--save") {
            save = true;
            o.file = value;
        } else if (a == "--load") {
            load = true;
            o.file = value;
        } else if (a == "--write") {
            write = true;
        } else if (a == "--watch") {
            if (!AllDigits(value) || std::atoi(value.c_str()) < 1) {
                *error = "--watch needs a number of seconds, not \"" + value + "\"";
                return -1;
            }
            watch = true;
            o.seconds = std::atoi(value.c_str());
        } else if (a == "--record") {
            o.record = true;
        } else {
            *error = "unknown option \"" + a + "\"";
            return -1;
        }
    }
    const int actions = (save ? 1 : 0) + (load ? 1 : 0) + (watch ? 1 : 0);
    if (actions > 1) {
        *error = "--save, --load and --watch do not go together";
        return -1;
    }
    if (load != write) {
        *error = load ? "--load needs --write (the file goes onto the instrument)"
                      : "--write needs --load FILE";
        return -1;
    }
    if (o.record && !watch) {
        *error = "--record goes with --watch";
        return -1;
    }
    if (actions == 0) {
        if (!o.port.empty() || !o.workdir.empty()) {
            *error = "--port and --workdir need --save, --load or --watch";
            return -1;
        }
        o.action = Action::Window;
    } else {
        o.action = save ? Action::Save : load ? Action::LoadWrite : Action::Watch;
    }
    *out = o;
    return 0;
}

int ParseScanArgs(const std::vector<std::string>& args, Options* out, std::string* error) {
    Options o;
    if (Informational(args, &o)) {
        *out = o;
        return 0;
    }
    bool find = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--port" || a == "--workdir") {
            std::string value;
            if (TakeValue(args, &i, &value, error) < 0) return -1;
            (a == "--port" ? o.port : o.workdir) = value;
        } else if (a == "--find") {
            find = true;
        } else {
            *error = "unknown option \"" + a + "\"";
            return -1;
        }
    }
    if (!find && (!o.port.empty() || !o.workdir.empty())) {
        *error = "--port and --workdir need --find";
        return -1;
    }
    o.action = find ? Action::Find : Action::Window;
    *out = o;
    return 0;
}

namespace {

constexpr const char* kExitText =
    "Exit status: 0 done; 1 the port or the instrument could not be reached, or a transfer\n"
    "failed; 2 a usage error; 3 a file was refused, could not be read or written, or a value\n"
    "is out of range. Every failure is one line on stderr.\n";

constexpr const char* kPortText =
    "  --port PORT     COM7, 7 or a device path (/dev/ttyUSB0); without it, the port of\n"
    "                  COM_Dev_use.txt\n"
    "  --workdir DIR   working folder (log.txt, settings files), made when missing\n";

}  // namespace

std::string ConfiguratorUsage(const std::string& program, const std::string& purpose) {
    return "usage: " + program +
           " [--help] [--version]\n"
           "       " +
           program +
           " --port PORT [--workdir DIR] --save FILE\n"
           "       " +
           program +
           " --port PORT [--workdir DIR] --load FILE --write\n"
           "       " +
           program + " --port PORT [--workdir DIR] --watch SECONDS [--record]\n\n" + purpose +
           "\n\n"
           "Without options it opens its window. With them it runs without a window:\n" +
           kPortText +
           "  --save FILE     reads every parameter and saves them to FILE\n"
           "  --load FILE --write\n"
           "                  loads FILE, checks the ranges, writes everything\n"
           "  --watch SECONDS polls the process value once a second for that long, one line\n"
           "                  a poll on stdout: hh:mm:ss<TAB>value<TAB>status\n"
           "  --record        with --watch, also writes the hourly records in PV Record\n\n" +
           kExitText +
           "A model descriptor that does not hold together ends it with status 1 at once.\n"
           "\nIt keeps log.txt and its settings files (COM_Dev_use.txt, YN_log_dbg.txt, ...)\n"
           "in its working folder and reads its panels from ../gui. Installed, that folder\n"
           "is $XDG_DATA_HOME/rtu-configurator/bin (~/.local/share/rtu-configurator/bin),\n"
           "made on first start; from a build tree, the folder it is started in.\n";
}

std::string ScanUsage(const std::string& purpose) {
    return "usage: Scan [--help] [--version]\n"
           "       Scan --find [--port PORT] [--workdir DIR]\n\n" +
           purpose +
           "\n\n"
           "Without options it opens its window. With --find it sweeps every port of its list\n"
           "(or PORT) without a window, puts the instrument on station 1, 19200 baud, 8N2,\n"
           "writes COM_Dev_use.txt and prints one line:\n"
           "  COM<n> <baud> <frame> station <s> model 0x<code> <program>\n"
           "with the settings the instrument was found at; it starts no configurator.\n" +
           kPortText + "\n" + kExitText;
}

int ResolvePort(const std::string& port, const serial::ComMapEnv& env, int* com,
                std::string* error) {
    std::string digits = port;
    if (digits.size() > 3 && (digits.compare(0, 3, "COM") == 0 || digits.compare(0, 3, "com") == 0))
        digits = digits.substr(3);
    if (AllDigits(digits)) {
        const int n = std::atoi(digits.c_str());
        if (n < 1 || n > serial::kMaxComNumber) {
            *error = "port " + port + ": COM numbers go from 1 to 256";
            return -1;
        }
        *com = n;
        return 0;
    }
    if (!port.empty() && port[0] == '/') {
        const int n = serial::ComNumberOfDevice(port, env);
        if (n <= 0) {
            *error = "port " + port + ": no COM number reaches this device (link one in " +
                     (env.comportsDir.empty() ? std::string("the COM folder") : env.comportsDir) +
                     ")";
            return -1;
        }
        *com = n;
        return 0;
    }
    *error = "port \"" + port + "\": give COM<n>, a number or a device path";
    return -1;
}

}  // namespace batch
