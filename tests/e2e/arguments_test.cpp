// --help and --version on every program: an answer on standard output and exit code 0, with no
// display to open a window on and nothing written where the program would run.

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../support/child_process.h"

namespace {

namespace fs = std::filesystem;

struct Answer {
    int code = -1;
    std::string out;
};

// Runs bin/<program> <argument> in a scratch folder, with no display: a program that tried to
// open a window would abort.
Answer RunProgram(const char* program, const char* argument) {
    const fs::path dir = fs::temp_directory_path() / ("args_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    Answer a;
    conf_test::Child child;
    if (child.Spawn({"/usr/bin/env", "-C", dir.string(), "-u", "DISPLAY", "QT_QPA_PLATFORM=xcb",
                     (fs::path(SUITE_BIN_DIR) / program).string(), argument},
                    dir.string(), (dir / "err.txt").string())) {
        a.out = child.Rest();
        a.code = child.Wait();
    }
    EXPECT_FALSE(fs::exists(dir / "log.txt")) << program;
    fs::remove_all(dir);
    return a;
}

TEST(ProgramArguments, HelpAndVersionAnswerWithoutAWindow) {
    for (const char* program : {"Tarnel", "Ombrel", "Scan"}) {
        const Answer version = RunProgram(program, "--version");
        EXPECT_EQ(version.code, 0) << program;
        EXPECT_EQ(version.out, std::string(program) + " Ver.2013-05-28-A\n");
        const Answer help = RunProgram(program, "--help");
        EXPECT_EQ(help.code, 0) << program;
        EXPECT_EQ(help.out.rfind(std::string("usage: ") + program + " [--help] [--version]\n", 0),
                  0u)
            << help.out;
    }
}

}  // namespace
