#include "log/log_launch.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "log/event_log.h"
#include "log/log_errors.h"
#include "platform/sys/launch.h"
#include "platform/sys/paths.h"

namespace conf {

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::vector<std::string> SplitOnSpaces(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c != ' ') {
            word += c;
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

}  // namespace

int LaunchEditor(sys::Launcher& launcher, const std::string& path, std::string* program) {
    std::string notepad;
    if (sys::FindOnPath("notepad2.exe", Env("PATH"), &notepad)) {
        *program = notepad;
        return launcher.Launch(notepad, {path});
    }
    std::vector<std::string> visual = SplitOnSpaces(Env("VISUAL"));
    if (!visual.empty()) {
        *program = visual.front();
        std::vector<std::string> args(visual.begin() + 1, visual.end());
        args.push_back(path);
        return launcher.Launch(*program, args);
    }
    *program = "xdg-open";
    return sys::OpenWithDesktop(launcher, path);
}

int Log::Launch(Context& ctx) {
    Log::Close(ctx);
    const std::string path = sys::JoinPath(sys::CurrentDir(), kLogFileName);
    std::string program;
    int rc = LaunchEditor(ctx.launcher, path, &program);
    Log::Append(ctx);
    if (rc < 0)
        LogWriteAlways(ctx,
                       std::string(kLogErrorMark) + " Launch editor fail : " + program + "\n\n");
    return 0;
}

}  // namespace conf
