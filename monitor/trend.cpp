#include "monitor/trend.h"

#include <algorithm>

#include "models/model.h"
#include "monitor/pv_display.h"
#include "platform/ui/constants.h"

namespace conf {

namespace {

constexpr const char* kTrendPanel = "TREND";
constexpr const char* kTrendChart = "TREND_CHART";

// The trend's panel, loaded (hidden) with the first point so the history is there when the
// technician opens the window. 0 when the resource has none.
int Panel(Context& ctx) {
    if (ctx.gvTrend <= 0) {
        const int panel = ctx.ui.LoadPanel(0, ctx.model.id.panelResource, kTrendPanel);
        ctx.gvTrend = panel > 0 ? panel : -1;
    }
    return std::max(ctx.gvTrend, 0);
}

int Chart(Context& ctx, int panel) {
    return panel > 0 ? ctx.ui.FindCtrl(panel, kTrendChart) : -1;
}

// The axis shows the decimals the display does; set only when they change, so that a poll
// adds its point and nothing more.
void Precision(Context& ctx, int panel, int chart) {
    const int wanted = fn_PV_Decimals(ctx);
    int shown = -1;
    ctx.ui.GetCtrlAttribute(panel, chart, ui::ATTR_PRECISION, &shown);
    if (shown != wanted) ctx.ui.SetCtrlAttribute(panel, chart, ui::ATTR_PRECISION, wanted);
}

// Seconds since the midnight before the trend began, never going back (the chart labels them
// as the time of day and goes on past 24 h into the next day).
double X(Context& ctx) {
    const double now = ctx.clock().Now();
    if (!ctx.trendOffset) {
        const sys::DateTime t = ctx.clock().LocalNow();
        ctx.trendOffset = t.hour * 3600.0 + t.minute * 60.0 + t.second - now;
    }
    return now + *ctx.trendOffset;
}

}  // namespace

int Trend::init(Context& ctx) {
    return Panel(ctx) > 0 ? 0 : -1;
}

int Trend::Point(Context& ctx, double value) {
    const int panel = Panel(ctx);
    const int chart = Chart(ctx, panel);
    if (chart <= 0) return 0;
    Precision(ctx, panel, chart);
    ctx.ui.ChartAddPoint(panel, chart, X(ctx), value);
    return 0;
}

int Trend::Gap(Context& ctx) {
    const int panel = Panel(ctx);
    const int chart = Chart(ctx, panel);
    if (chart > 0) ctx.ui.ChartAddGap(panel, chart, X(ctx));
    return 0;
}

int Trend::Show(Context& ctx) {
    const int panel = Panel(ctx);
    if (panel <= 0) return -1;
    const int chart = Chart(ctx, panel);
    if (chart > 0) Precision(ctx, panel, chart);
    return ctx.ui.DisplayPanel(panel);
}

int evTrend(Context& ctx, int, int, void*, int) {
    return Trend::Show(ctx);
}

int evTrendPanel(Context& ctx, int panel, int event, void*, int, int) {
    if (event == ui::EVENT_CLOSE) ctx.ui.HidePanel(panel);
    return 0;
}

}  // namespace conf
