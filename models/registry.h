#pragma once
// The models the suite serves, one entry each: the one list that Scan's hand-over, the
// launcher's sibling programs, the programs' mains and the tests' model parameters read. An
// entry is its descriptor: the model codes, the program's name and the panel resource stand in
// its identity and nowhere else. The package's CMake list of configurators names the same
// programs in the same order (a test holds the two together).

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "models/model.h"

namespace conf {

// The scanner, the one program of the suite that serves no model.
inline constexpr const char* kScanProgramName = "Scan";

// Every model, in the order of the list.
std::span<const Model* const> RegisteredModels();

// The model one of whose codes is hardwareCode (the high byte of the model code word);
// nullptr when none is.
const Model* ModelOfHardwareCode(int hardwareCode);

// The model whose configurator is called program ("Tarnel"); nullptr when none is.
const Model* ModelOfProgram(std::string_view program);

// The suite's own programs, which start each other from the folder they share: the scanner
// and every model's configurator.
std::vector<std::string> SuitePrograms();

}  // namespace conf
