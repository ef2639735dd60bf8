// The configurators' captions in the scanner's language: the language file, every caption of
// both models byte for byte, the main panel's character set, English status messages, and the
// window title before and after the device is read, from the start-up on the port the settings
// file names.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "lang/lang_db.h"
#include "lang/panel_language.h"
#include "lang/window_title.h"
#include "models/model_a.h"
#include "models/model_b.h"
#include "models/panel_controls.h"
#include "tests/support/fifo_guard.h"
#include "tests/support/fixtures.h"
#include "tests/support/registry_models.h"

namespace {

namespace fs = std::filesystem;
using conf::Caption;
using conf::CaptionKind;
using conf::CaptionPanel;
using tarneltest::TarnelTest;

// A panel's attribute as read back.
template <class T = std::string>
T PanelAttr(ui::Runtime& rt, int panel, int attribute, T v = T()) {
    rt.GetPanelAttribute(panel, attribute, &v);
    return v;
}

constexpr const char* kLanguageNames[3] = {"English", "Traditional", "Simplified"};

// A model of the registry in one of the three languages: "TarnelTraditional".
struct Case {
    const conf::Model* model;
    int language;
};

// A configurator of the case's model, to be started with Language_Selection.txt holding the
// case's language.
class PanelLanguage : public transfertest::TransferTest,
                      public ::testing::WithParamInterface<Case> {
  protected:
    PanelLanguage() : TransferTest(*GetParam().model) {}
    int ProgramCode() const { return ctx.model.id.programNumber; }

    // What the panel shows where the caption goes.
    std::string Shown(const Caption& c) {
        const int panel = c.panel == CaptionPanel::kMain     ? ctx.gvMain
                          : c.panel == CaptionPanel::kConfig ? ctx.gvCFG
                                                             : ctx.gvCAL;
        switch (c.kind) {
            case CaptionKind::kPageTitle:
                return PanelAttr(rt, panel, ui::ATTR_TITLE);
            case CaptionKind::kLabel:
                return Label(panel, c.name);
            case CaptionKind::kText:
                return CtrlVal<std::string>(panel, Id(panel, c.name));
            case CaptionKind::kMenu:
                return MenuCaption(c.name);
        }
        return "";
    }
    std::string Label(int panel, const char* name) {
        return CtrlAttr<std::string>(panel, Id(panel, name), ui::ATTR_LABEL_TEXT);
    }
    std::string MenuCaption(const char* name) {
        return MenuAttr<std::string>(ctx.gvMain, name, ui::ATTR_ITEM_NAME);
    }
};

const int kCharsets[3] = {ui::VAL_NATIVE_CHARSET, ui::VAL_BIG5_CHARSET, ui::VAL_GB2312_CHARSET};

TEST_P(PanelLanguage, CaptionsComeFromTheDatabaseInTheChosenLanguage) {
    const int language = GetParam().language;
    std::ofstream(conf::kLanguageFileName) << language;
    StartWith(ProgramCode(), 2);
    EXPECT_EQ(ctx.gvLANG, language);
    EXPECT_EQ(PanelAttr(rt, ctx.gvMain, ui::ATTR_CHARSET, 0), kCharsets[language]);

    // Every caption of the model's tables shows its database text, and the model has them all.
    int captions = 0;
    for (std::span<const Caption> table : ctx.model.catalogue.captions) {
        for (const Caption& c : table) {
            std::string text;
            conf::LangS::DataBase(ctx, c.textId, language, &text);
            ASSERT_FALSE(text.empty()) << c.textId;
            EXPECT_EQ(Shown(c), text) << (c.name ? c.name : "page") << " " << c.textId;
            ++captions;
        }
    }
    EXPECT_EQ(captions,
              static_cast<int>(std::size(conf::panel::kCaptions)) + (ProgramCode() == 104 ? 3 : 1));
    EXPECT_EQ(conf::LangS::Refresh(ctx), 0);
    EXPECT_TRUE(fe.Popups().empty());  // no "Lang SID not fount"

    // What is not a caption of the database stays as the resource has it.
    EXPECT_EQ(Label(ctx.gvMain, "READ"), "__Read");
    EXPECT_EQ(Label(ctx.gvCFG, "DIR_0"), "Reverse");
    // The status line and the window titles speak English whatever the captions do.
    EXPECT_EQ(PanelAttr(rt, ctx.gvMain, ui::ATTR_TITLE),
              ProgramCode() == 104 ? "Tarnel - COM5 - Tarnel 0x68" : "Ombrel - COM5 - Ombrel 0x69");
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(StatusColour(), 0x008000);
    PressRead();
    EXPECT_EQ(Status(), "Read OK");

    // Each model's own captions.
    static const char* const kStartScan[3] = {"__Start Scan",
                                              "\xB6\x7D\xA9\x6C\xB1\xBD\xB4\x79(__S)",
                                              "\xBF\xAA\xCA\xBC\xC9\xA8\xC3\xE8(__S)"};
    static const char* const kUnit[3] = {"Unit", "\xB3\xE6\xA6\xEC", "\xB5\xA5\xCE\xBB"};
    if (ProgramCode() == 104) {
        EXPECT_EQ(MenuCaption("START_SCAN"), kStartScan[language]);
        EXPECT_EQ(Label(ctx.gvCFG, "UNIT"), kUnit[language]);
    } else {
        // Model B hands back to the scanner with a button, and has no unit parameter.
        EXPECT_EQ(Label(ctx.gvMain, "SCAN_DEV"), kStartScan[language]);
        EXPECT_LT(rt.FindCtrl(ctx.gvCFG, "UNIT"), 0);
        EXPECT_EQ(PanelAttr(rt, ctx.gvTrend, ui::ATTR_TITLE), "Ombrel - Trend");
    }

    // A failed read shows its English message in red.
    SilenceFrom(0);
    PressRead();
    EXPECT_EQ(Status(), "Read NG");
    EXPECT_EQ(StatusColour(), 0xFF0000);
}

std::vector<Case> LanguageCases() {
    std::vector<Case> cases;
    for (const conf::Model* model : conf_test::RegistryModels())
        for (int language = 0; language < 3; ++language)
            cases.push_back({model, language});
    return cases;
}
INSTANTIATE_TEST_SUITE_P(Models, PanelLanguage, ::testing::ValuesIn(LanguageCases()),
                         [](const auto& p) {
                             return std::string(p.param.model->id.programName) +
                                    kLanguageNames[p.param.language];
                         });

TEST(LanguageFile, OnlyOneOfTheThreeDigitsNamesALanguage) {
    using namespace std::string_literals;
    const std::pair<std::string, int> kContents[] = {
        {"0", 0},  {"1", 1},   {"2", 2},    {"2\n", 2},   {" 1 \r\n", 1}, {"", -1},
        {"3", -1}, {"-1", -1}, {"+1", -1},  {"01", -1},   {"1x", -1},     {"1 2", -1},
        {"a", -1}, {"\n", -1}, {"1.0", -1}, {"1\0"s, -1}, {"\xB1", -1},
    };
    for (const auto& [text, language] : kContents)
        EXPECT_EQ(conf::fn_Parse_Language(text), language) << "\"" << text << "\"";
}

// A file that is not one digit 0-2, or not a regular file, starts the captions in English; a
// link to a file follows the file.
struct OddFile {
    const char* name;
    void (*make)();  // Language_Selection.txt made its way; nullptr: none
    int language;
};
const OddFile kOddFiles[] = {
    {"Missing", nullptr, 0},
    {"OutOfRange", [] { std::ofstream(conf::kLanguageFileName) << "7"; }, 0},
    {"Long", [] { std::ofstream(conf::kLanguageFileName) << std::string(100, ' ') << "1"; }, 0},
    {"Directory", [] { fs::create_directory(conf::kLanguageFileName); }, 0},
    {"LinkToAFile",
     [] {
         std::ofstream("chosen.txt") << "2";
         fs::create_symlink("chosen.txt", conf::kLanguageFileName);
     },
     2},
};

class OddLanguageFile : public TarnelTest, public ::testing::WithParamInterface<OddFile> {};

TEST_P(OddLanguageFile, StartsInEnglishUnlessItNamesALanguage) {
    if (GetParam().make) GetParam().make();
    Start();
    EXPECT_EQ(ctx.gvLANG, GetParam().language);
    // Only the scanner writes the choice.
    EXPECT_EQ(fs::exists(fs::symlink_status(conf::kLanguageFileName)), GetParam().make != nullptr);
    if (GetParam().language != 0) return;
    EXPECT_EQ(PanelAttr(rt, ctx.gvMain, ui::ATTR_CHARSET, 0), ui::VAL_NATIVE_CHARSET);
    EXPECT_EQ(PanelAttr(rt, ctx.gvCFG, ui::ATTR_TITLE), "Configuration");
}

INSTANTIATE_TEST_SUITE_P(Files, OddLanguageFile, ::testing::ValuesIn(kOddFiles),
                         [](const auto& p) { return std::string(p.param.name); });

// A FIFO would block a plain open until a writer came: the start must not hang on it.
TEST_F(TarnelTest, AFifoForTheLanguageFileStartsInEnglishWithoutWaiting) {
    test_support::FifoGuard fifo(conf::kLanguageFileName);
    ASSERT_TRUE(fifo.Made());
    Start();
    EXPECT_FALSE(fifo.HadToFree());
    EXPECT_EQ(ctx.gvLANG, 0);
}

// --- The window title -------------------------------------------------------------------------

// The common titles are checked on the running program below.
TEST(WindowTitle, NamesProgramPortAndInstrument) {
    const conf::Model& a = conf::ModelA();
    const conf::Model& b = conf::ModelB();
    EXPECT_EQ(conf::fn_Window_Title(a, 257, 104), "Tarnel");
    EXPECT_EQ(conf::fn_Window_Title(a, 5, conf::kModelUnknown), "Tarnel - COM5");
    EXPECT_EQ(conf::fn_Window_Title(a, 256, 106), "Tarnel - COM256 - Quillet (Tarnel) 0x6A");
    EXPECT_EQ(conf::fn_Window_Title(a, 1, 105), "Tarnel - COM1 - H/W not match 0x69");
    EXPECT_EQ(conf::fn_Window_Title(b, 33, 105), "Ombrel - COM33 - Ombrel 0x69");
    EXPECT_EQ(conf::fn_Window_Title(b, 33, 107), "Ombrel - COM33 - Pardine (Ombrel) 0x6B");
    EXPECT_EQ(conf::fn_Window_Title(b, 33, 104), "Ombrel - COM33 - H/W not match 0x68");
}

using TitleTest = transfertest::TransferTest;

// Start-up opens the port the settings file names. The title names the port alone until the
// instrument answers, and again once it no longer does.
TEST_F(TitleTest, StartUpOpensThePortAndTheTitleNamesTheInstrumentWhileItAnswers) {
    // The instrument does not answer the start (recovery and read-all, three attempts each).
    AttachSim(SimConfig()).AddFault(conf_test::MakeFault(sim::FaultKind::kSilence, 0, 6));
    std::ofstream("COM_Dev_use.txt") << "5\n3\n0\n8\n2\n0104";
    Start();
    EXPECT_TRUE(com.IsOpen(222));
    const auto asked = Requests();
    ASSERT_EQ(asked.size(), 6u);
    EXPECT_EQ(asked[3], Sealed({0x01, 0x03, 0x1F, 0x00, 0x00, 0x04}));  // read-all's device check
    EXPECT_EQ(Slurp("log.txt").rfind("gvLogYN = 0 \nOpen COM ( P222,   COM5, 19200, 0, 8, 2 ) "
                                     "\tSet Com Time (s) : 0.500000\n\n",
                                     0),
              0u);
    EXPECT_EQ(Status(), "Read NG");
    EXPECT_EQ(PanelAttr(rt, ctx.gvMain, ui::ATTR_TITLE), "Tarnel - COM5");
    PressRead();
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(PanelAttr(rt, ctx.gvMain, ui::ATTR_TITLE), "Tarnel - COM5 - Tarnel 0x68");
    // A pulled cable: the next check names no instrument.
    SilenceFrom(0);
    PressRead();
    EXPECT_EQ(Status(), "Read NG");
    EXPECT_EQ(PanelAttr(rt, ctx.gvMain, ui::ATTR_TITLE), "Tarnel - COM5");
}

TEST_F(TitleTest, AForeignInstrumentIsNamedAsNotMatching) {
    StartWith(0x69, 2);
    EXPECT_EQ(Status(), "H/W not match");
    EXPECT_EQ(PanelAttr(rt, ctx.gvMain, ui::ATTR_TITLE), "Tarnel - COM5 - H/W not match 0x69");
}

}  // namespace
