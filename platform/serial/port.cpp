#include "platform/serial/port.h"

namespace serial {

Port::~Port() = default;
Backend::~Backend() = default;

}  // namespace serial
