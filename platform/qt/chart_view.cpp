#include "platform/qt/chart_view.h"

#include <QCategoryAxis>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QList>
#include <QPen>
#include <QPointF>
#include <QResizeEvent>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

#include "platform/qt/text_codec.h"

namespace qtfe {

namespace {

const QColor kTraceColour(0x1F, 0x5F, 0xA8);
constexpr double kYMargin = 0.05;  // of the data's extent, above and below
constexpr int kLabelRoom = 90;     // pixels a time label needs beside its neighbours
// Steps between time labels, in seconds; past the last, whole days.
constexpr double kTimeSteps[] = {1,   2,   5,    10,   15,   30,    60,    120,   300,
                                 600, 900, 1800, 3600, 7200, 10800, 21600, 43200, 86400};

}  // namespace

ChartView::ChartView(QWidget* parent) : QChartView(parent) {
    chart_ = new QChart;
    chart_->legend()->hide();
    chart_->setBackgroundRoundness(0);
    chart_->setMargins(QMargins(2, 2, 8, 2));
    chart_->layout()->setContentsMargins(0, 0, 0, 0);
    xAxis_ = new QCategoryAxis;
    xAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    yAxis_ = new QValueAxis;
    yAxis_->setLabelFormat("%.0f");
    chart_->addAxis(xAxis_, Qt::AlignBottom);
    chart_->addAxis(yAxis_, Qt::AlignLeft);
    setChart(chart_);  // the view owns the chart, the chart its axes and series
    setRenderHint(QPainter::Antialiasing);
    setFocusPolicy(Qt::NoFocus);
    SetRanges(ui::Control{});
}

QString ChartView::TimeOfDay(double x) {
    const long long day = 86400;
    const long long s = ((static_cast<long long>(std::floor(x)) % day) + day) % day;
    return QString("%1:%2:%3")
        .arg(s / 3600, 2, 10, QChar('0'))
        .arg(s / 60 % 60, 2, 10, QChar('0'))
        .arg(s % 60, 2, 10, QChar('0'));
}

void ChartView::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    ticks_.clear();  // the room for labels changed
    LabelTimes(xAxis_->min(), xAxis_->max());
}

void ChartView::LabelTimes(double from, double to) {
    const int most = std::max(2, width() / kLabelRoom);
    double step = 0;
    for (double s : kTimeSteps) {
        step = s;
        if ((to - from) / s + 1 <= most) break;
    }
    while ((to - from) / step + 1 > most)
        step *= 2;
    std::vector<double> ticks;
    for (double t = std::ceil(from / step) * step; t <= to; t += step)
        ticks.push_back(t);
    if (ticks == ticks_) return;  // the usual case while points come in
    ticks_ = ticks;
    for (const QString& label : xAxis_->categoriesLabels())
        xAxis_->remove(label);
    xAxis_->setStartValue(from);
    for (double t : ticks) {
        // Labels must differ; over a window longer than a day the times of day repeat.
        const QString label = TimeOfDay(t);
        if (!xAxis_->categoriesLabels().contains(label)) xAxis_->append(label, t);
    }
}

void ChartView::SyncLooks(const ui::Control& c, int charset) {
    const QString title = DecodeText(c.label, charset);
    if (chart_->title() != title) chart_->setTitle(title);
    const QColor text(static_cast<QRgb>(c.textColor));
    chart_->setTitleBrush(text);
    xAxis_->setLabelsBrush(text);
    yAxis_->setLabelsBrush(text);
    const QString format = QString("%.%1f").arg(c.precision);
    if (yAxis_->labelFormat() != format) yAxis_->setLabelFormat(format);
}

QLineSeries* ChartView::NewSegment() {
    if (static_cast<int>(segments_.size()) >= kMaxSegments) DropSegment();
    auto* s = new QLineSeries;
    QPen pen(kTraceColour);
    pen.setWidthF(1.5);
    s->setPen(pen);
    chart_->addSeries(s);  // the chart owns it
    s->attachAxis(xAxis_);
    s->attachAxis(yAxis_);
    segments_.push_back(s);
    return s;
}

void ChartView::DropSegment() {
    QLineSeries* s = segments_.front();
    segments_.pop_front();
    chart_->removeSeries(s);
    delete s;
    rescan_ = true;
}

void ChartView::AddToLast(double x, double y) {
    QLineSeries* s = broken_ || segments_.empty() ? NewSegment() : segments_.back();
    broken_ = false;
    s->append(x, y);
    // A lone value between two gaps has no line: it shows as a dot until a second joins it.
    s->setPointsVisible(s->count() == 1);
    yMin_ = haveY_ ? std::min(yMin_, y) : y;
    yMax_ = haveY_ ? std::max(yMax_, y) : y;
    haveY_ = true;
}

void ChartView::Append(const ui::Control& c) {
    if (c.points.empty()) return;
    const ui::ChartPoint& p = c.points.back();
    if (p.gap) {
        broken_ = true;
    } else {
        AddToLast(p.x, p.y);
    }
    Prune(c);
    SetRanges(c);
}

void ChartView::Prune(const ui::Control& c) {
    if (c.points.empty()) return;
    const double left = c.points.back().x - c.window;
    const double oldest = c.points.front().x;
    while (!segments_.empty()) {
        QLineSeries* s = segments_.front();
        const int n = s->count();
        int drop = 0;
        // A point left of the window stays while the next one is in view: the line then runs
        // into the left edge instead of starting short of it.
        while (drop < n) {
            const double x = s->at(drop).x();
            const bool nextAlsoLeft = drop + 1 >= n || s->at(drop + 1).x() <= left;
            if (!(x < oldest || (x < left && nextAlsoLeft))) break;
            const double y = s->at(drop).y();
            if (y <= yMin_ || y >= yMax_) rescan_ = true;
            ++drop;
        }
        if (drop == n) {
            DropSegment();
            continue;
        }
        if (drop > 0) {
            s->removePoints(0, drop);
            s->setPointsVisible(s->count() == 1);
        }
        break;
    }
}

void ChartView::SetRanges(const ui::Control& c) {
    if (rescan_) {
        rescan_ = false;
        haveY_ = false;
        for (const QLineSeries* s : segments_) {
            for (int i = 0; i < s->count(); ++i) {
                const double y = s->at(i).y();
                yMin_ = haveY_ ? std::min(yMin_, y) : y;
                yMax_ = haveY_ ? std::max(yMax_, y) : y;
                haveY_ = true;
            }
        }
    }
    // Before the first point the axis shows one window from midnight.
    const double newest = c.points.empty() ? c.window : c.points.back().x;
    if (xAxis_->min() != newest - c.window || xAxis_->max() != newest)
        xAxis_->setRange(newest - c.window, newest);
    LabelTimes(newest - c.window, newest);

    double low = 0.0, high = 1.0;
    if (haveY_) {
        // A flat line gets a band around it; the smallest step shown keeps a zero line apart.
        const double step = std::pow(10.0, -c.precision);
        const double margin =
            yMax_ > yMin_ ? (yMax_ - yMin_) * kYMargin : std::max(std::abs(yMax_) * kYMargin, step);
        low = yMin_ - margin;
        high = yMax_ + margin;
    }
    if (yAxis_->min() != low || yAxis_->max() != high) yAxis_->setRange(low, high);
}

void ChartView::Rebuild(const ui::Control& c) {
    while (!segments_.empty())
        DropSegment();
    broken_ = true;
    haveY_ = false;
    rescan_ = false;
    if (!c.points.empty()) {
        const double left = c.points.back().x - c.window;
        // x never goes back, so the points are in order: the first in view is found at once,
        // and the value before it is kept for the line into the left edge.
        auto first = std::lower_bound(c.points.begin(), c.points.end(), left,
                                      [](const ui::ChartPoint& p, double x) { return p.x < x; });
        if (first != c.points.begin() && !std::prev(first)->gap) --first;
        QList<QPointF> run;
        auto flush = [&] {
            if (run.isEmpty()) return;
            QLineSeries* s = NewSegment();
            s->replace(run);
            s->setPointsVisible(run.size() == 1);
            run.clear();
        };
        for (auto it = first; it != c.points.end(); ++it) {
            if (it->gap) {
                flush();
                continue;
            }
            run.append(QPointF(it->x, it->y));
            yMin_ = haveY_ ? std::min(yMin_, it->y) : it->y;
            yMax_ = haveY_ ? std::max(yMax_, it->y) : it->y;
            haveY_ = true;
        }
        flush();
        broken_ = c.points.back().gap;
        // Segments dropped over kMaxSegments took their extent with them.
        rescan_ = rescan_ && haveY_;
    }
    SetRanges(c);
}

}  // namespace qtfe
