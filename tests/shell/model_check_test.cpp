// The start-up check of the model descriptor: both configurators' descriptors hold against the
// program's functions and their own panel resources, and a broken one ends the program with
// one message on stderr and in a popup before any window shows.

#include <gtest/gtest.h>

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "models/model_b.h"
#include "shell/model_check.h"
#include "tests/support/fixtures.h"

namespace {

using tarneltest::TarnelTest;

struct Case {
    const char* name;
    const conf::Model& (*model)();
    const char* message;  // "": the descriptor holds
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

// Model A with one part replaced.
conf::Model WithParts(const conf::FocusOrders& focus, std::span<const conf::CallbackName> calls) {
    const conf::Model& a = conf::ModelA();
    return conf::Model{a.id,   a.registers,   a.read,         a.write,   a.file,
                       a.dpp,  a.recovery,    a.transactions, a.startUp, a.remote,
                       a.poll, a.calibration, a.catalogue,    focus,     calls};
}

const conf::Model& WidePv() {
    static const conf::Model m = [] {
        conf::Model model = conf::ModelA();
        model.poll.pvWidth = 32;
        return model;
    }();
    return m;
}

const conf::Model& MisspeltCallback() {
    static const std::vector<conf::CallbackName> calls = [] {
        const auto& a = conf::ModelA().callbacks;
        std::vector<conf::CallbackName> c(a.begin(), a.end());
        c.back().shared = "fn_Ignor";
        return c;
    }();
    static const conf::Model m = WithParts(conf::ModelAFocusOrders(), calls);
    return m;
}

// A focus order naming a control the panel resource does not have.
const conf::Model& ForeignFocus() {
    static const conf::FocusOrders focus = [] {
        conf::FocusOrders f = conf::ModelAFocusOrders();
        f.cal.push_back("POLAR");
        return f;
    }();
    static const conf::Model m = WithParts(focus, conf::ModelA().callbacks);
    return m;
}

const Case kCases[] = {
    {"ModelA", conf::ModelA, ""},
    {"ModelB", conf::ModelB, ""},
    {"WidePv", WidePv,
     "model Tarnel: the process-value read takes register 0x1002 PV as 32 bits; the map has it "
     "as 16"},
    {"MisspeltCallback", MisspeltCallback,
     "model Tarnel: callback ev104RTUcomm names the program function fn_Ignor, which the "
     "program does not have"},
    {"ForeignFocus", ForeignFocus,
     "model Tarnel: the calibration page's focus order names POLAR, which the panel does not "
     "have"},
};

class StartCheck : public TarnelTest, public ::testing::WithParamInterface<Case> {
  protected:
    StartCheck() : TarnelTest(GetParam().model()) {}
};

TEST_P(StartCheck, ABrokenDescriptorEndsTheProgramBeforeItsWindow) {
    const std::string expected = GetParam().message;
    std::string message;
    const int descriptor = conf::Model_Check::Descriptor(ctx.model, &message);
    const int panel = descriptor < 0 ? -1 : conf::Model_Check::Panel(ctx, &message);
    if (expected.empty()) {
        EXPECT_EQ(descriptor, 0) << message;
        EXPECT_EQ(panel, 0) << message;
        // The panel loaded for the check is gone again; start-up loads its own.
        Start();
        EXPECT_GT(ctx.gvMain, 0);
        return;
    }
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(conf::RunCheckedConfigurator(ctx, registry), 1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), expected + "\n");
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].title, "Model descriptor");
    EXPECT_EQ(fe.Popups()[0].text, expected);
    // No window: start-up never ran.
    EXPECT_EQ(ctx.gvMain, 0);
    EXPECT_FALSE(std::filesystem::exists("log.txt"));
}

INSTANTIATE_TEST_SUITE_P(Models, StartCheck, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
