#pragma once
// The communication parameters on the configuration page: station number (ID_cfg),
// baud rate (BR_cfg), frame format (RTU_cfg), and the lock ring (Lock_cfg), which like the
// frame format exists only from firmware version 2 on.

#include "core/context.h"
#include "params/locator.h"
#include "params/module_ops.h"

namespace conf {
// Station number, 1-255.
NumericModule ID_cfg_def(const Context& ctx);
struct ID_cfg : NumericOps<ID_cfg_def> {};

// Baud rate ring, index n = 2400 * 2^n baud.
RingModule BR_cfg_def(const Context& ctx);
struct BR_cfg : RingOps<BR_cfg_def> {};

// Frame format ring: 8N1, 8N2, 8O1, 8E1.
RingModule RTU_cfg_def(const Context& ctx);
struct RTU_cfg : RingOps<RTU_cfg_def> {};

// Lock ring; the index goes to the instrument unchanged.
RingModule Lock_cfg_def(const Context& ctx);
struct Lock_cfg : RingOps<Lock_cfg_def> {};

}  // namespace conf
