#pragma once
// The polarity setting written to and read back from the instrument as the ring is committed.

#include "core/context.h"

namespace conf {

// Commit: device check; "Writing"; the ring's value to the polarity register with code 6
// ("Write NG" and the write's result on failure); read back with code 3 ("Read NG" and -1 on
// failure); the value read shown in the ring; "Write OK". Other events: the Enter step.
int evPOLAR(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);

}  // namespace conf
