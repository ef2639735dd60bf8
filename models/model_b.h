#pragma once
// Model B: the instrument Ombrel configures (model codes 105 and 107).

#include "models/focus_orders.h"
#include "models/model.h"
#include "models/param_catalogue.h"

namespace conf {

const Model& ModelB();
// Its parts, also reachable through the descriptor.
const ParamCatalogue& ModelBCatalogue();
const FocusOrders& ModelBFocusOrders();

}  // namespace conf
