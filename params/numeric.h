#pragma once
// The numeric parameter module: one control, or several of which the module's selector field
// designates one, showing raw instrument values with a scaling and checked against a range
// rule. Every numeric module of a model is one NumericModule; its named operations
// (ID_cfg::SV, ...) call the functions below with it.

#include "core/context.h"
#include "core/selector.h"
#include "models/model.h"
#include "models/param_catalogue.h"
#include "params/locator.h"

namespace conf {

// The allowed raw range, both ends inclusive. Returns 0.
using RangeRule = int (*)(Context& ctx, int* min, int* max);

// How raw values are shown in a real-valued control and read back from it.
struct Scaling {
    float (*toShown)(Context& ctx, int raw);
    int (*fromShown)(Context& ctx, float shown);
    int (*decimals)(Context& ctx);  // what Set_Precision gives the controls
};

struct NumericModule {
    int Context::*page;           // the panel handle of the module's page
    CtrlNames controls;           // role names, in selector order
    Module owner;                 // owner of the members' registers in the map; kNone: none
    const SelectorField* member;  // which control; nullptr for a module of one control
    const Scaling* scaling;       // nullptr: the control holds the raw integer
    RangeRule range;              // nullptr: never out of range
};

namespace num {

// The member the selector designates (0 without a field).
int Selected(const Context& ctx, const NumericModule& m);
// Selects member `index` (no effect without a field).
void Select(Context& ctx, const NumericModule& m, int index);

// Fills *loc with the designated control. Negative (and loc->control 0) when the selector
// designates no entry of the table.
int Init(Context& ctx, const NumericModule& m, Locator* loc);
// For a module of two controls without a field: both at once.
int InitPair(Context& ctx, const NumericModule& m, PairLocator* loc);
int SV(Context& ctx, const NumericModule& m, int raw);
// The raw value of the designated control; 0 when there is none.
int GV(Context& ctx, const NumericModule& m);
int SA_i32(Context& ctx, const NumericModule& m, int attribute, int value);
// The same attribute on every control of the module.
int SA_i32_all(Context& ctx, const NumericModule& m, int attribute, int value);
int Query_Range(Context& ctx, const NumericModule& m, int* min, int* max);
// Red text background when on, white otherwise.
int Hi_Light(Context& ctx, const NumericModule& m, int on);
// -1 and red when the value is outside its range; 0 and the normal colour otherwise.
int OOR(Context& ctx, const NumericModule& m);
// An out-of-range value is shown red for the limit pause, then replaced by the nearer bound
// and painted normal. A value in range is left as it is, marks and all.
int Limit(Context& ctx, const NumericModule& m);
// Stores the position of `control` in the module's table in its field; an unknown control
// (or another panel) leaves the field unchanged.
int Who_Am_I(Context& ctx, const NumericModule& m, int panel, int control);
// The register of the designated member; -1 when the module has none for it.
int q_MB_Address(Context& ctx, const NumericModule& m);
// Each member in turn gets the scaling's decimals (field left at the last member).
int Set_Precision(Context& ctx, const NumericModule& m);
// Each member in turn: SV(GV()), re-rendering it with the current decimal point.
int Refresh(Context& ctx, const NumericModule& m);
int Toggle_Dim(Context& ctx, const NumericModule& m, int dim);
// Shows low in member 0 and high in member 1.
int Set_Range(Context& ctx, const NumericModule& m, int low, int high);

}  // namespace num

}  // namespace conf
