#pragma once
// A scratch working directory (fresh, removed afterwards, the old one restored) holding a
// main panel with only a status line "MSG", and a context whose gvMain and msgCtrl point at it.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/context.h"
#include "models/model_a.h"
#include "platform/ui/constants.h"
#include "platform/ui/headless.h"

namespace conf_test {

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ScratchDir {
  public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "conf.XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) return;
        path_ = std::filesystem::canonical(pattern).string();  // as getcwd reports it
        std::filesystem::current_path(path_);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::current_path(saved_, ignored);
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    std::string Sub(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::filesystem::path saved_ = std::filesystem::current_path();
    std::string path_;
};

// kind: "textmsg", or "string" (an indicator), as some panels have it.
class StatusPanel {
  public:
    explicit StatusPanel(const std::string& kind = "textmsg") {
        WriteFile("G104.json",
                  R"({ "panels": [ { "name": "G104", "controls": [ { "kind": ")" + kind +
                      R"(", "name": "MSG", "indicator": true, "value": "Ready" } ] } ] })");
        ctx.gvMain = rt.LoadPanel(0, "G104.json", "G104");
        EXPECT_GT(ctx.gvMain, 0) << rt.LastError();
        ctx.msgCtrl = rt.FindCtrl(ctx.gvMain, "MSG");
    }
    std::string LineText() {
        std::string text;
        rt.GetCtrlVal(ctx.gvMain, ctx.msgCtrl, &text);
        return text;
    }
    int LineColor() {
        int rgb = -1;
        rt.GetCtrlAttribute(ctx.gvMain, ctx.msgCtrl, ui::ATTR_TEXT_COLOR, &rgb);
        return rgb;
    }

    ScratchDir dir;  // first made, last removed: the context closes its files before
    ui::CallbackRegistry registry;
    ui::HeadlessFrontEnd fe;
    ui::Runtime rt{fe, registry};
    sys::RecordingLauncher launcher;
    conf::Context ctx{rt, launcher, conf::ModelA()};
};

}  // namespace conf_test
