#pragma once
// The invariants a model descriptor must hold, checked when a program starts and in the tests:
// a descriptor put together by hand fails here with one message, not as a wrong value on a
// page much later. Each check returns 0, or -1 with *message naming the model and the first
// broken invariant.

#include <functional>
#include <set>
#include <string>

#include "models/model.h"

namespace conf {

// The descriptor on its own: its register map, the plans that name registers of it, the
// catalogue's tables and ranges.
int Validate(const Model& model, std::string* message);

// Its callback table against the names of the functions the program can register.
int ValidateCallbacks(const Model& model, const std::set<std::string>& functions,
                      std::string* message);

// The three panels a focus order walks.
enum class FocusPanel { kMain, kConfig, kCalib };
// Whether the loaded panel has a control of that role name.
using HasControl = std::function<bool(FocusPanel panel, const std::string& name)>;
// Its focus orders against the controls of the panel resource the program loaded.
int ValidateFocusOrders(const Model& model, const HasControl& has, std::string* message);

}  // namespace conf
