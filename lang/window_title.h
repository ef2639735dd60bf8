#pragma once
// The main panel's title: which program, on which port, serving which instrument, so that a
// technician with two windows open tells them apart.

#include <string>

#include "core/context.h"

namespace conf {

struct Model;

// "Tarnel", "Tarnel - COM5" once the port is known (com 1-256), and after a device check
// "Tarnel - COM5 - Quillet (Tarnel) 0x6A" for one of the model's codes or
// "Tarnel - COM5 - H/W not match 0x69" for another. hw 0 (not checked yet) and kModelUnknown
// (no answer) name no instrument.
std::string fn_Window_Title(const Model& model, int com, int hw);

namespace Title {
// Sets the main panel's title from gvCOM and gvHW. 0, or the runtime's negative error (no
// panel yet).
int SV(Context& ctx);
}  // namespace Title

}  // namespace conf
