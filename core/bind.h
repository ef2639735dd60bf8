#pragma once
// Callbacks are free functions over the program's context; the panel runtime calls plain
// callables. These adapters close over the context.

#include "core/context.h"
#include "platform/ui/callbacks.h"

namespace conf {

using CtrlFn = int (*)(Context&, int panel, int control, int event, void* data, int data1,
                       int data2);
using PanelFn = int (*)(Context&, int panel, int event, void* data, int data1, int data2);
using MenuFn = int (*)(Context&, int menuBar, int item, void* data, int panel);

inline ui::ControlCallback BindCtrl(Context& ctx, CtrlFn fn) {
    return [&ctx, fn](int p, int c, int e, void* d, int d1, int d2) {
        return fn(ctx, p, c, e, d, d1, d2);
    };
}
inline ui::PanelCallback BindPanel(Context& ctx, PanelFn fn) {
    return [&ctx, fn](int p, int e, void* d, int d1, int d2) { return fn(ctx, p, e, d, d1, d2); };
}
inline ui::MenuCallback BindMenu(Context& ctx, MenuFn fn) {
    return [&ctx, fn](int mb, int item, void* d, int p) { return fn(ctx, mb, item, d, p); };
}

}  // namespace conf
