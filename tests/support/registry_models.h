#pragma once
// The registry's models as the parameter of a value-parameterised test, each case named by its
// model's program ("Models/Suite.Case/Tarnel"):
//   INSTANTIATE_TEST_SUITE_P(Models, Suite, ::testing::ValuesIn(conf_test::RegistryModels()),
//                            conf_test::ModelName());

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "models/registry.h"

namespace conf {

// GoogleTest shows a model by its program, in messages and in parameters of a case.
inline void PrintTo(const Model* model, std::ostream* os) {
    *os << (model != nullptr ? model->id.programName : "no model");
}

}  // namespace conf

namespace conf_test {

inline std::vector<const conf::Model*> RegistryModels() {
    const std::span<const conf::Model* const> models = conf::RegisteredModels();
    return {models.begin(), models.end()};
}

// The name generator of a suite over RegistryModels().
struct ModelName {
    std::string operator()(const ::testing::TestParamInfo<const conf::Model*>& info) const {
        return info.param->id.programName;
    }
};

// The hardware code an instrument of the model answers with, its first (104 for Tarnel's).
inline int HardwareCode(const conf::Model& model) {
    return model.id.codes[0].code;
}

}  // namespace conf_test
