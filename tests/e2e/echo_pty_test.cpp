// Adapters that hear their own transmission: the configurators against instrument-sim --echo
// on a pseudo-terminal whose COM5.conf says echo=on, in real time. Every request comes back
// ahead of its answer; a wrong or missing echo is a failed attempt with its own trace lines.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model_cases.h"
#include "tests/support/fixtures.h"

namespace {

namespace fs = std::filesystem;

// Big5 "★★★", the mark of an error line.
const std::string kStars = "\xA1\xB9\xA1\xB9\xA1\xB9";

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

class EchoOnAPty : public ptytest::ConfiguratorOnAPty,
                   public ::testing::WithParamInterface<e2etest::ModelCase> {
  protected:
    EchoOnAPty() : ConfiguratorOnAPty(*conf::ModelOfProgram(GetParam().name)) {}
    void Conf(const std::string& text) {
        fs::create_directories(comDir);
        std::ofstream(fs::path(comDir) / "COM5.conf") << text;
    }
    void StartWith(const std::vector<std::string>& simArgs) {
        RunSimulator(GetParam().simModel, simArgs);
        std::ofstream("COM_Dev_use.txt") << GetParam().settings;
        Start();
    }
};

// The whole start-up (link recovery and read-all) through an echoing adapter, and the setting
// file's unknown key said at each open, once.
TEST_P(EchoOnAPty, ReadAllGoesThroughAnEchoingAdapter) {
    Conf("# half-duplex adapter\necho=on\nspeed=fast\n");
    StartWith({"--echo"});
    EXPECT_EQ(Status(), "Read OK") << Log();
    const std::string log = Log();
    const int opens = Count(log, "Open COM ( P222,   COM5, ");
    EXPECT_GE(opens, 1);
    EXPECT_EQ(Count(log,
                    "Set Com Time (s) : 0.500000\n\nCOM5.conf line 3: unknown key \"speed\", "
                    "ignored\n\nCOM5: echo=on, each request is read back before its "
                    "answer\n\n"),
              opens)
        << log;
    EXPECT_EQ(log.find(kStars), std::string::npos) << log;
    Press("READ");
    EXPECT_EQ(Status(), "Read OK") << Log();
    EXPECT_EQ(child.Stop(), 0);
    EXPECT_EQ(SimLog().find("-> fault"), std::string::npos) << SimLog();
}

// One garbled echo costs one attempt; the second attempt goes through.
TEST_P(EchoOnAPty, AGarbledEchoIsAFailedAttemptThatIsRetried) {
    Conf("echo=on\n");
    StartWith({"--echo", "--fault", "echo-garbled"});
    EXPECT_EQ(Status(), "Read OK") << Log();
    EXPECT_EQ(child.Stop(), 0);
    EXPECT_NE(SimLog().find("-> fault echo-garbled"), std::string::npos) << SimLog();
    const std::string log = Log();
    ASSERT_EQ(Count(log, kStars), 1) << log;
    // The first request the instrument answers is struck: its station byte comes back wrong.
    const std::string first = conf::ModelOfProgram(GetParam().name) == &conf::ModelA()
                                  ? "\tP222\tMB.Tx\t#01.03 <1000> (0006) {c108}\tRead\n"
                                    "\tP222\tMB.Rx\t41 03 10 00 00 06 c1 08 \n"
                                  : "\tP222\tMB.Tx\t#01.03 <100c> (0003) {c108}\tRead\n"
                                    "\tP222\tMB.Rx\t41 03 10 0c 00 03 c1 08 \n";
    const std::string retried = first.substr(0, first.find('\n') + 1);
    EXPECT_NE(
        log.find(first + "\t" + kStars + " Echo NG : 8 of 8 bytes sent came back, not as sent\n\n" +
                 retried + "\tP222\tMB.Rx\t#01.03 "),
        std::string::npos)
        << log;
}

// An adapter said to echo that does not: the answer is taken for the echo, every attempt
// fails, and the configurator says so instead of reading garbage.
TEST_P(EchoOnAPty, EchoOnWithoutAnEchoFailsCleanly) {
    Conf("echo=on\n");
    StartWith({});
    EXPECT_NE(Status(), "Read OK");
    const std::string log = Log();
    EXPECT_NE(log.find("\tP222\tMB.Rx\t01 03 "), std::string::npos) << log;
    EXPECT_GE(Count(log, " Echo NG : 8 of 8 bytes sent came back, not as sent\n\n"), 3) << log;
    EXPECT_EQ(child.Stop(), 0);
}

INSTANTIATE_TEST_SUITE_P(Models, EchoOnAPty, ::testing::ValuesIn(e2etest::kModelCases),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
