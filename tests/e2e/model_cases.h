#pragma once
// Each configurator with the instrument it is made for, as the tests of both run them.

#include <string>

#include "models/model_a.h"
#include "models/registry.h"

namespace e2etest {

struct ModelCase {
    const char* name;          // the program
    const conf::Model* model;  // from the registry
    const char* simModel;      // instrument-sim's --model
    const char* settings;      // the scanner's hand-over, COM_Dev_use.txt
};

inline const ModelCase kModelCases[] = {
    {"Tarnel", conf::ModelOfProgram("Tarnel"), "A", "5\n3\n0\n8\n2\n6802"},
    {"Ombrel", conf::ModelOfProgram("Ombrel"), "B", "5\n3\n0\n8\n2\n6902"},
};

}  // namespace e2etest
