// Opening the log in an editor: which editor, what it is given, and the log around it.

#include "log/log_launch.h"
#include "models/model_a.h"

#include <gtest/gtest.h>

#include <optional>

#include "log/event_log.h"
#include "tests/support/fixtures.h"

namespace {

using namespace conf;
using conf_test::ReadFile;
using Call = sys::RecordingLauncher::Call;

// Sets an environment variable (nullptr unsets it) until the end of the test.
class EnvGuard {
  public:
    explicit EnvGuard(const char* name) : name_(name) {
        if (const char* v = std::getenv(name)) saved_ = v;
    }
    ~EnvGuard() { saved_ ? setenv(name_, saved_->c_str(), 1) : unsetenv(name_); }
    void Set(const char* value) { value ? setenv(name_, value, 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> saved_;
};

// Records what the editor would find on disk, and whether the log was still open.
class PeekingLauncher final : public sys::Launcher {
  public:
    int Launch(const std::string& program, const std::vector<std::string>& args) override {
        calls.push_back({program, args});
        seen.push_back(ReadFile("log.txt") + (watched->gpLog.IsOpen() ? "(open)" : ""));
        return 0;
    }
    std::vector<Call> calls;
    std::vector<std::string> seen;
    Context* watched = nullptr;
};

class LogLaunch : public ::testing::Test, public conf_test::StatusPanel {
  protected:
    void SetUp() override {
        std::filesystem::create_directory("tools");
        path.Set(dir.Sub("tools").c_str());  // no notepad2.exe yet
        visual.Set(nullptr);
        ctx.gvLogYN = 1;
        Log::Append(ctx);
    }
    EnvGuard path{"PATH"};
    EnvGuard visual{"VISUAL"};
};

TEST_F(LogLaunch, TwiceWithTheLogGoingOn) {
    PeekingLauncher peek;
    Context c{rt, peek, ModelA()};
    peek.watched = &c;
    c.gvLogYN = 1;
    Log::Append(c);
    logi(c, "before %d\n", 1);
    EXPECT_EQ(Log::Launch(c), 0);
    logi(c, "between %d\n", 2);
    EXPECT_EQ(Log::Launch(c), 0);
    logi(c, "after %d\n", 3);
    const Call desktop{"xdg-open", {dir.Sub("log.txt")}};
    EXPECT_EQ(peek.calls, (std::vector<Call>{desktop, desktop}));
    EXPECT_EQ(peek.seen, (std::vector<std::string>{"before 1\n", "before 1\nbetween 2\n"}));
    EXPECT_EQ(ReadFile("log.txt"), "before 1\nbetween 2\nafter 3\n");
}

// The desktop's opener unless VISUAL names one; notepad2.exe on the PATH before both.
TEST_F(LogLaunch, EditorChoiceAndAFailedLaunchLogged) {
    logi(ctx, "before %d\n", 1);
    launcher.result = -1;
    EXPECT_EQ(Log::Launch(ctx), 0);
    logi(ctx, "after %d\n", 2);
    EXPECT_EQ(ReadFile("log.txt"),
              "before 1\n\xA1\xB9\xA1\xB9\xA1\xB9 Launch editor fail : xdg-open\n\nafter 2\n");
    EXPECT_TRUE(ctx.gpLog.IsOpen());
    launcher.result = 0;
    visual.Set("gedit --new-window");
    Log::Launch(ctx);
    std::ofstream("tools/notepad2.exe") << "#!/bin/sh\n";
    std::filesystem::permissions("tools/notepad2.exe", std::filesystem::perms::owner_all);
    Log::Launch(ctx);
    EXPECT_EQ(launcher.calls,
              (std::vector<Call>{{"xdg-open", {dir.Sub("log.txt")}},
                                 {"gedit", {"--new-window", dir.Sub("log.txt")}},
                                 {dir.Sub("tools/notepad2.exe"), {dir.Sub("log.txt")}}}));
}

}  // namespace
