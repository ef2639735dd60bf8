#pragma once
// Model A's parameter tables (the instrument Tarnel configures).

#include "models/param_catalogue.h"

namespace conf {

const ParamCatalogue& ModelACatalogue();

}  // namespace conf
