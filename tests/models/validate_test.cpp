// The model descriptors. The registry against itself (every model validates; every code and
// program names one model) and against the build's CMake list of configurators, which drives
// the programs and the package: the two must name the same programs in the same order, each
// with its main, panel, desktop entry and manual page. A copy of model A with one thing broken
// is refused with the message that names what broke.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <sstream>
#include <stdexcept>

#include "models/model_a.h"
#include "models/registry.h"
#include "models/validate.h"

namespace {

// Every model validates, every code and program names one, and each program has its files.
TEST(Registry, EveryModelIsWholeAndTheCMakeListMatches) {
    std::vector<std::string> registered;
    std::set<int> codes;
    std::set<std::string> programs{conf::kScanProgramName};
    const std::filesystem::path source = SUITE_SOURCE_DIR;
    for (const conf::Model* model : conf::RegisteredModels()) {
        const std::string program = model->id.programName;
        SCOPED_TRACE(program);
        registered.push_back(program);
        std::string broken;
        EXPECT_EQ(conf::Validate(*model, &broken), 0) << broken;
        EXPECT_TRUE(programs.insert(program).second) << "program named twice";
        EXPECT_EQ(conf::ModelOfProgram(program), model);
        ASSERT_FALSE(model->id.codes.empty());
        for (const conf::ModelCode& code : model->id.codes) {
            EXPECT_TRUE(codes.insert(code.code).second) << code.code << " claimed twice";
            EXPECT_EQ(conf::ModelOfHardwareCode(code.code), model) << code.code;
        }
        std::string lower = program;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        // The panel resource is named relative to the programs' bin/ folder.
        for (const std::filesystem::path& file :
             {source / "apps" / program / "main.cpp",
              (source / "bin" / model->id.panelResource).lexically_normal(),
              source / "packaging" / ("io.github.rtuconfigurator." + lower + ".desktop"),
              source / "packaging" / "man" / ("rtu-" + lower + ".1")})
            EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
    }
    std::vector<std::string> listed;
    std::istringstream list(SUITE_CONFIGURATORS);
    for (std::string name; std::getline(list, name, ',');)
        listed.push_back(name);
    EXPECT_EQ(listed, registered) << "SUITE_CONFIGURATORS in CMakeLists.txt";
    for (int unclaimed : {0, 0x67, 0x6C, 0xFF, -1, 0x168})
        EXPECT_EQ(conf::ModelOfHardwareCode(unclaimed), nullptr) << unclaimed;
    for (const char* program : {"Scan", "tarnel", ""})
        EXPECT_EQ(conf::ModelOfProgram(program), nullptr) << program;
    EXPECT_EQ(conf::SuitePrograms(), (std::vector<std::string>{"Scan", "Tarnel", "Ombrel"}));
}

// Model A's descriptor in parts a row can change, put together again by Build.
struct Parts {
    conf::Model Build() {
        buffers = {conf::ModelA().write.buffers[0]};
        buffers[0].lines = lines;
        conf::Model m{plan.id,   registers,        plan.read,         plan.write,   plan.file,
                      plan.dpp,  plan.recovery,    plan.transactions, plan.startUp, plan.remote,
                      plan.poll, plan.calibration, catalogue,         focus,        callbacks};
        m.write.buffers = buffers;
        m.write.rangeCheck = rangeCheck;
        m.file.addresses = fileLines;
        m.calibration.steps = steps;
        return m;
    }
    template <class T>
    static std::vector<T> Copy(std::span<const T> s) {
        return {s.begin(), s.end()};
    }

    conf::Model plan = conf::ModelA();  // its scalar fields
    std::vector<conf::RegisterRecord> registers = Copy(plan.registers);
    std::vector<conf::BufferLine> lines = Copy(plan.write.buffers[0].lines);
    std::vector<conf::BufferFile> buffers;
    std::vector<conf::RangeCheckEntry> rangeCheck = Copy(plan.write.rangeCheck);
    std::vector<int> fileLines = Copy(plan.file.addresses);
    std::vector<conf::CalStep> steps = Copy(plan.calibration.steps);
    std::vector<conf::CallbackName> callbacks = Copy(plan.callbacks);
    conf::ParamCatalogue catalogue = conf::ModelACatalogue();
    conf::FocusOrders focus = conf::ModelAFocusOrders();
};

conf::RegisterRecord& At(Parts& p, int address) {
    for (conf::RegisterRecord& r : p.registers)
        if (r.address == address) return r;
    throw std::logic_error("no register");
}

// Which check a row runs: the descriptor alone, its callbacks against model A's own function
// names, its focus orders against a panel with model A's controls.
enum class Check { kDescriptor, kCallbacks, kFocus };

struct Row {
    void (*breakIt)(Parts&);
    const char* message;  // after "model Tarnel: "
    Check check = Check::kDescriptor;
};

const Row kRows[] = {
    // Every register owned by a module that exists.
    {[](Parts& p) { p.catalogue.ccUNIT = {}; },
     "register 0x0001 UNIT is owned by UNIT_cfg, which the model has no controls for"},
    {[](Parts& p) { At(p, 0).module = conf::Module::kCount; },
     "register 0x0000 TYPE is owned by no module the program knows"},
    {[](Parts& p) { At(p, 28).member = 6; },
     "register 0x001C mA.H is member 6 of LinSig_cfg, which has 6 controls"},
    {[](Parts& p) { At(p, 8).width = 8; }, "register 0x0008 FILT is 8 bits wide, not 16 or 32"},
    // No overlapping addresses.
    {[](Parts& p) { At(p, 4).address = 3; },
     "registers 0x0003 LOLT and HILT overlap at one address"},
    {[](Parts& p) { At(p, 4).member = 0; },
     "registers 0x0003 LOLT and 0x0004 HILT are both member 0 of MRng_usr_cfg"},
    {[](Parts& p) { At(p, 0x1002).width = 32; },
     "the recovery block (0x1000, 6 registers) takes in half of 32-bit register 0x1002 PV"},
    // Every read, write, buffer-file and parameter-file line names a register of the map with
    // its width.
    {[](Parts& p) { p.plan.read.blockLength = 29; },
     "the read applies register 0x001D, which the 16-bit block does not hold"},
    {[](Parts& p) { p.plan.read.addrPolarity = 0x0A08; },
     "the polarity read names register 0x0A08, which the register map does not have"},
    {[](Parts& p) { p.plan.poll.pvWidth = 32; },
     "the process-value read takes register 0x1002 PV as 32 bits; the map has it as 16"},
    {[](Parts& p) { At(p, 0x1F05).address = 0x1F06; },
     "the display setup read names register 0x1F05, which the register map does not have"},
    {[](Parts& p) { p.plan.poll.adcCount = 1; },
     "the converter read takes 1 readings, but caCC_ADC_V_M has 2 controls"},
    {[](Parts& p) { p.plan.write.addrBR = 13; },
     "the baud-rate write names register 0x000D ID of ID_cfg, not of BR_cfg"},
    {[](Parts& p) { p.lines[0].address = 0x40; },
     "buffer file W_para_buff.txt line LOCK names register 0x0040, which the register map does "
     "not have"},
    {[](Parts& p) { p.lines[0].address = 0x1F04; },
     "buffer file W_para_buff.txt line LOCK names register 0x1F04 DIGIT of DIGIT_cfg, which is "
     "no parameter"},
    {[](Parts& p) { p.fileLines.push_back(0x1002); },
     "the parameter file names register 0x1002 PV of MSPV_V, which is no parameter"},
    {[](Parts& p) { p.plan.file.headerAddress = 0x1F02; },
     "the parameter file's header line is 0x1F02, not the device-information register"},
    {[](Parts& p) { p.plan.file.maxLines = 30; },
     "the parameter file holds 31 lines, but a load reads 30"},
    {[](Parts& p) { p.rangeCheck.back().members = 5; },
     "the range check takes 5 members of LinSig_cfg, which has 6 controls"},
    {[](Parts& p) { p.steps[0].presetType = 14; },
     "calibration step RTD.L presets input type 14, which the model does not have"},
    // Every callback name resolves.
    {[](Parts& p) { p.callbacks[8].shared = "evReed"; },
     "callback ev104Read names the program function evReed, which the program does not have",
     Check::kCallbacks},
    // Every focus order names controls the panel has.
    {[](Parts& p) { p.focus.cfg.back() = "LOCKED"; },
     "the configuration page's focus order names LOCKED, which the panel does not have",
     Check::kFocus},
    {[](Parts& p) { p.focus.pageWrap = "RAED"; },
     "the pages' wrap to the main panel names RAED, which the panel does not have", Check::kFocus},
    // Ranges ordered.
    {[](Parts& p) { p.catalogue.rngFILT = conf::RawRange(999, 0); },
     "the range rngFILT[0] runs from 999 down to 0"},
    // The catalogue's fields set where the model needs them.
    {[](Parts& p) { p.catalogue.ccRSP = {}; }, "the control table ccRSP is empty"},
    {[](Parts& p) { p.catalogue.caCC_ICSP = {}; },
     "the input calibration has 9 steps, but caCC_IC_B, caCC_ICSP and caCC_ADC_V_I have 9, 0 "
     "and 9"},
    {[](Parts& p) { p.catalogue.aMRng = p.catalogue.aMRng.first(13); },
     "aMRng has 13 rated ranges for 14 input types"},
    {[](Parts& p) { p.catalogue.digitSamples = p.catalogue.digitSamples.first(1); },
     "the tables by display-digit setting differ in length from the 2 display ranges"},
    {[](Parts& p) { p.plan.dpp = conf::SelectorField(5, 2); },
     "the decimal-point field overlaps a member field"},
    {[](Parts& p) { p.plan.dpp = conf::SelectorField(4, 1); },
     "the decimal-point field cannot hold decimal point 3"},
};

// Both models hold (model B: see the start-up check); a pass leaves the message alone.
TEST(BrokenDescriptor, IsRefusedWithItsMessage) {
    Parts whole;
    const conf::Model intact = whole.Build();
    // What the program and its panel offer: all that model A names, unbroken.
    std::set<std::string> functions;
    for (const conf::CallbackName& c : intact.callbacks)
        functions.insert(c.shared);
    const conf::FocusOrders& f = conf::ModelAFocusOrders();
    const auto has = [&](conf::FocusPanel panel, const std::string& name) {
        const std::vector<std::string>& names = panel == conf::FocusPanel::kMain     ? f.main
                                                : panel == conf::FocusPanel::kConfig ? f.cfg
                                                                                     : f.cal;
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    const auto run = [&](Check check, const conf::Model& m, std::string* message) {
        return check == Check::kDescriptor  ? conf::Validate(m, message)
               : check == Check::kCallbacks ? conf::ValidateCallbacks(m, functions, message)
                                            : conf::ValidateFocusOrders(m, has, message);
    };
    for (Check check : {Check::kDescriptor, Check::kCallbacks, Check::kFocus}) {
        std::string message = "untouched";
        ASSERT_EQ(run(check, intact, &message), 0) << message;
        ASSERT_EQ(message, "untouched");
    }
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.message);
        Parts parts;
        row.breakIt(parts);
        std::string message;
        EXPECT_EQ(run(row.check, parts.Build(), &message), -1);
        EXPECT_EQ(message, std::string("model Tarnel: ") + row.message);
    }
}

}  // namespace
