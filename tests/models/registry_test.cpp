// The registry against itself (every model validates; every code and program names one
// model) and against the build's CMake list of configurators, which drives the programs and
// the package: the two must name the same programs in the same order, each with its main,
// panel, desktop entry and manual page.

#include "models/registry.h"
#include "models/validate.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> CMakeConfigurators() {
    std::vector<std::string> names;
    std::istringstream list(SUITE_CONFIGURATORS);
    for (std::string name; std::getline(list, name, ',');)
        names.push_back(name);
    return names;
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST(Registry, CMakeListMatchesTheRegistry) {
    std::vector<std::string> registered;
    for (const conf::Model* model : conf::RegisteredModels())
        registered.emplace_back(model->id.programName);
    EXPECT_EQ(CMakeConfigurators(), registered) << "SUITE_CONFIGURATORS in CMakeLists.txt";

    const std::filesystem::path source = SUITE_SOURCE_DIR;
    for (const conf::Model* model : conf::RegisteredModels()) {
        const std::string program = model->id.programName;
        SCOPED_TRACE(program);
        EXPECT_TRUE(std::filesystem::is_regular_file(source / "apps" / program / "main.cpp"));
        // The panel resource is named relative to the programs' bin/ folder.
        EXPECT_TRUE(std::filesystem::is_regular_file(
            (source / "bin" / model->id.panelResource).lexically_normal()));
        EXPECT_TRUE(std::filesystem::is_regular_file(
            source / "packaging" / ("io.github.rtuconfigurator." + Lower(program) + ".desktop")));
        EXPECT_TRUE(std::filesystem::is_regular_file(source / "packaging" / "man" /
                                                     ("rtu-" + Lower(program) + ".1")));
    }
}

TEST(Registry, EveryModelValidatesAndEveryCodeAndProgramNamesOne) {
    std::set<int> codes;
    std::set<std::string> programs{conf::kScanProgramName};
    for (const conf::Model* model : conf::RegisteredModels()) {
        SCOPED_TRACE(model->id.programName);
        std::string broken;
        EXPECT_EQ(conf::Validate(*model, &broken), 0) << broken;
        EXPECT_TRUE(programs.insert(model->id.programName).second) << "program named twice";
        EXPECT_EQ(conf::ModelOfProgram(model->id.programName), model);
        ASSERT_FALSE(model->id.codes.empty());
        for (const conf::ModelCode& code : model->id.codes) {
            EXPECT_TRUE(codes.insert(code.code).second) << code.code << " claimed twice";
            EXPECT_EQ(conf::ModelOfHardwareCode(code.code), model) << code.code;
        }
    }
    for (int unclaimed : {0, 0x67, 0x6C, 0xFF, -1, 0x168})
        EXPECT_EQ(conf::ModelOfHardwareCode(unclaimed), nullptr) << unclaimed;
    for (const char* program : {"Scan", "tarnel", ""})
        EXPECT_EQ(conf::ModelOfProgram(program), nullptr) << program;
    EXPECT_EQ(conf::SuitePrograms(), (std::vector<std::string>{"Scan", "Tarnel", "Ombrel"}));
}

}  // namespace
