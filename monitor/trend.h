#pragma once
// The trend window: the displayed process value against time, for the last minutes. A poll
// adds one point, or a gap where the sensor was open or the poll failed; the chart keeps a
// bounded history, so hours of polling cost no more than its capacity.

#include "core/context.h"

namespace conf {

namespace Trend {
// The trend window loaded, hidden, with the main panel. 0, or -1 when the resource has none.
int init(Context& ctx);
// The value as the display shows it, at the clock's present time. Returns 0.
int Point(Context& ctx, double value);
// A break in the line at the present time. Returns 0.
int Gap(Context& ctx);
// The trend window shown (its axis in the instrument's decimals). Returns 0.
int Show(Context& ctx);
}  // namespace Trend

// The PV menu's trend item.
int evTrend(Context& ctx, int menuBar, int item, void* data, int panel);
// The trend window's own callback: closing hides it (the history is kept).
int evTrendPanel(Context& ctx, int panel, int event, void* data, int data1, int data2);

}  // namespace conf
