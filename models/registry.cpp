#include "models/registry.h"

#include "models/model_a.h"
#include "models/model_b.h"

namespace conf {

std::span<const Model* const> RegisteredModels() {
    // A new model is one more entry here, after its descriptor and panel.
    static const Model* const kModels[] = {&ModelA(), &ModelB()};
    return kModels;
}

const Model* ModelOfHardwareCode(int hardwareCode) {
    for (const Model* model : RegisteredModels())
        if (ProductOf(*model, hardwareCode) != nullptr) return model;
    return nullptr;
}

const Model* ModelOfProgram(std::string_view program) {
    for (const Model* model : RegisteredModels())
        if (program == model->id.programName) return model;
    return nullptr;
}

std::vector<std::string> SuitePrograms() {
    std::vector<std::string> programs{kScanProgramName};
    for (const Model* model : RegisteredModels())
        programs.emplace_back(model->id.programName);
    return programs;
}

}  // namespace conf
