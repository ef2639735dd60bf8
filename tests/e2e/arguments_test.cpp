// --help and --version on every program: an answer on standard output and exit code 0, with no
// display to open a window on and nothing written where the program would run.

#include "run_tree.h"

namespace {

using namespace e2etest;

class ProgramArguments : public RunTree {
  protected:
    ProgramArguments() : RunTree("args") {}
    // Runs <program> <argument> in bin/, with no display (a program that tried to open a window
    // would abort): its standard output, its exit code in *code.
    std::string Run(const std::string& program, const char* argument, int* code) {
        const std::string bin = (root / "bin").string(), path = SUITE_BIN_DIR "/" + program;
        conf_test::Child child;
        *code = -1;
        std::string out;
        if (child.Spawn(
                {"/usr/bin/env", "-C", bin, "-u", "DISPLAY", "QT_QPA_PLATFORM=xcb", path, argument},
                comDir.string(), (root / "err.txt").string())) {
            out = child.Rest();
            *code = child.Wait();
        }
        EXPECT_FALSE(fs::exists(root / "bin" / "log.txt")) << program;
        return out;
    }
};

TEST_F(ProgramArguments, HelpAndVersionAnswerWithoutAWindow) {
    for (const std::string program : {"Tarnel", "Ombrel", "Scan"}) {
        int code = -1;
        EXPECT_EQ(Run(program, "--version", &code), program + " Ver.2013-05-28-A\n");
        EXPECT_EQ(code, 0) << program;
        const std::string help = Run(program, "--help", &code);
        EXPECT_EQ(code, 0) << program;
        EXPECT_EQ(help.rfind("usage: " + program + " [--help] [--version]\n", 0), 0u) << help;
    }
}

}  // namespace
