#pragma once
// Model A: the instrument Tarnel configures (model codes 104 and 106).

#include "models/focus_orders.h"
#include "models/model.h"
#include "models/param_catalogue.h"

namespace conf {

const Model& ModelA();
// Its parts, also reachable through the descriptor.
const ParamCatalogue& ModelACatalogue();
const FocusOrders& ModelAFocusOrders();

}  // namespace conf
