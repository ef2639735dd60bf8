#pragma once
// The command line of the suite's programs: they take no arguments of their own (the scanner
// starts them without any), but answer --help and --version without opening a window or a port.

#include <cstdio>
#include <string>

// -1 to run the program; otherwise the exit code (the answer has been printed). Any other
// argument is ignored and said so on stderr.
inline int HandleArguments(int argc, char** argv, const char* program, const char* version,
                           const char* purpose) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::printf(
                "usage: %s [--help] [--version]\n\n%s\n\n"
                "It keeps log.txt and its settings files (COM_Dev_use.txt, YN_log_dbg.txt, ...)\n"
                "in its working folder and reads its panels from ../gui. Installed, that folder\n"
                "is $XDG_DATA_HOME/rtu-configurator/bin (~/.local/share/rtu-configurator/bin),\n"
                "made on first start; from a build tree, the folder it is started in.\n",
                program, purpose);
            return 0;
        }
        if (a == "--version") {
            std::printf("%s %s\n", program, version);
            return 0;
        }
        std::fprintf(stderr, "%s: ignoring argument \"%s\"\n", program, a.c_str());
    }
    return -1;
}
