#include "core/context.h"

#include "models/model.h"

namespace conf {

std::string Context::Source(const char* suffix) const {
    return "m" + std::to_string(model.id.programNumber) + suffix;
}

}  // namespace conf
