#pragma once
// A fresh pseudo-terminal for the simulator to serve.

#include <memory>
#include <string>

#include "sim/served_line.h"

namespace sim {

// Opens a pseudo-terminal with its slave side raw. The object keeps a slave descriptor of its
// own, so the master does not hang up while no program has the port open. 0, or -1 with the
// reason in *error. Closing the object makes the slave path disappear.
int OpenPseudoTerminal(std::unique_ptr<ServedLine>* out, std::string* error);

}  // namespace sim
