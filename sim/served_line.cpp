#include "sim/served_line.h"

namespace sim {

ServedLine::~ServedLine() = default;

}  // namespace sim
