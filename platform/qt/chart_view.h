#pragma once
// The view of a chart control: the points of its window as line segments of one colour, broken
// at each gap, over a time-of-day x axis (x is seconds since a midnight; its labels sit at round
// steps such as every 10 s or 5 min) and a y axis that follows the data in view.
//
// A poll adds a point a second, so adding must stay cheap: Append takes only the model's newest
// point into the last segment and drops what left the window from the front; only Rebuild (a
// clear, a new window or capacity) walks the model's points in view.

#include <QChartView>

#include <deque>
#include <vector>

#include "platform/ui/model.h"

class QCategoryAxis;
class QLineSeries;
class QValueAxis;

namespace qtfe {

class ChartView final : public QChartView {
  public:
    // The most line segments shown at once. A line broken more often than this within one
    // window loses its oldest pieces from the view (the model keeps them).
    static constexpr int kMaxSegments = 256;

    explicit ChartView(QWidget* parent);

    // Title, colours and the y labels' decimals.
    void SyncLooks(const ui::Control& c, int charset);
    // Shows the model's points in view anew.
    void Rebuild(const ui::Control& c);
    // Takes the model's newest point, or the new x of its trailing gap.
    void Append(const ui::Control& c);

    // The time of day of x (seconds since a midnight; a later day wraps): "hh:mm:ss".
    static QString TimeOfDay(double x);
    // The segments from oldest to newest, for tests.
    const std::deque<QLineSeries*>& Segments() const { return segments_; }
    QCategoryAxis* XAxis() const { return xAxis_; }
    QValueAxis* YAxis() const { return yAxis_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QLineSeries* NewSegment();
    void DropSegment();
    void AddToLast(double x, double y);
    // Drops points older than the window (keeping one to draw the line into its left edge) or
    // than the model's oldest point, and segments left with nothing in view.
    void Prune(const ui::Control& c);
    void SetRanges(const ui::Control& c);
    // Time labels at the roundest step that leaves room for each, from `from` to `to` seconds.
    void LabelTimes(double from, double to);

    QChart* chart_ = nullptr;
    QCategoryAxis* xAxis_ = nullptr;
    QValueAxis* yAxis_ = nullptr;
    std::deque<QLineSeries*> segments_;
    bool broken_ = true;  // the next value starts a new segment
    // The y extent of the points in view, kept up by Append; `rescan_` when a point at the
    // extent left the view and the extent has to be found again.
    double yMin_ = 0.0, yMax_ = 0.0;
    bool haveY_ = false;
    bool rescan_ = false;
    std::vector<double> ticks_;  // where the time labels are now
};

}  // namespace qtfe
