#pragma once
// One Qt widget per panel control, and how each kind shows its model.

#include <QPointer>

#include <string>

#include "platform/ui/model.h"

class QLabel;
class QTimer;
class QWidget;

namespace qtfe {

struct ControlView {
    ui::Kind kind = ui::Kind::Numeric;
    QPointer<QWidget> widget;  // none for timers
    QPointer<QLabel> label;    // the caption of kinds whose label is not part of the widget
    QPointer<QTimer> timer;    // timers only
};

// Creates the widgets of `control` on `canvas` (tab pages are added by the caller).
ControlView CreateControlView(const ui::Control& control, QWidget* canvas);

// Brings the widgets up to date with the model without emitting any of their signals.
void SyncControlView(const ControlView& view, const ui::Control& control, int charset);

// Charts (see chart_view.h): all of the model's points in view shown anew, or only its newest
// point taken. Other kinds are left alone.
void RebuildChart(const ControlView& view, const ui::Control& control);
void AppendToChart(const ControlView& view, const ui::Control& control);

// The value the user left in a numeric, when it differs from what the model shows.
bool EditedNumber(const ControlView& view, const ui::Control& control, double* value);
// The text the user left in a string control, when it differs from the model's.
bool EditedText(const ControlView& view, const ui::Control& control, int charset,
                std::string* text);

}  // namespace qtfe
