#pragma once
// The ring parameter module: a drop-down list whose selected index is the raw value. Several
// rings can form one module (the alarms' function rings), designated by a selector field.

#include "core/context.h"
#include "core/selector.h"
#include "models/model.h"
#include "models/param_catalogue.h"
#include "params/locator.h"
#include "params/numeric.h"

namespace conf {

struct RingModule {
    int Context::*page;
    CtrlNames controls;           // role names, in selector order
    Module owner;                 // owner of the members' registers in the map; kNone: none
    const SelectorField* member;  // nullptr for a single ring
    RangeRule range;              // nullptr: not range-checked
    int normalColor;              // the ring's colour when not marked
    // Out-of-range indices go back to the lower bound (the first allowed item) instead of
    // the nearer bound.
    bool limitToLow;
};

namespace ring {

int Selected(const Context& ctx, const RingModule& m);
void Select(Context& ctx, const RingModule& m, int index);
int Init(Context& ctx, const RingModule& m, Locator* loc);
int SI(Context& ctx, const RingModule& m, int index);
// 1 when index names one of the designated ring's items, else 0 (also without such a ring).
int Holds(Context& ctx, const RingModule& m, int index);
// The selected index; -1 when nothing is selected or there is no such ring.
int GI(Context& ctx, const RingModule& m);
int SA_i32(Context& ctx, const RingModule& m, int attribute, int value);
int Query_Range(Context& ctx, const RingModule& m, int* min, int* max);
// Red ring colour when on, the normal colour otherwise.
int Hi_Light(Context& ctx, const RingModule& m, int on);
// The range test on a given index, marking the ring: -1 when out of range, else 0.
int OOR_EX(Context& ctx, const RingModule& m, int value);
int OOR(Context& ctx, const RingModule& m);
// An out-of-range index is shown red for the limit pause, then replaced (by the lower bound
// for limitToLow, else the nearer one) and painted normal.
int Limit(Context& ctx, const RingModule& m);
int Who_Am_I(Context& ctx, const RingModule& m, int panel, int control);
int q_MB_Address(Context& ctx, const RingModule& m);
int Toggle_Dim(Context& ctx, const RingModule& m, int dim);

}  // namespace ring

}  // namespace conf
