// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/pictures/trace_plot.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <ranges>

#include "stats/tool/pictures/axis_ticks.h"
#include "stats/tool/pictures/plot_file.h"

namespace buffon {
namespace {

// The part of `segment` between two rows, if any.
std::optional<QLineF> withinRows(const QLineF& segment, double top, double bottom)
{
    const double rise = segment.y2() - segment.y1();
    if (rise == 0) {
        return top <= segment.y1() && segment.y1() <= bottom ? std::optional(segment)
                                                             : std::nullopt;
    }
    const double atTop = (top - segment.y1()) / rise;
    const double atBottom = (bottom - segment.y1()) / rise;
    const double from = std::max(0.0, std::min(atTop, atBottom));
    const double to = std::min(1.0, std::max(atTop, atBottom));
    if (from > to) {
        return std::nullopt;
    }
    return QLineF(segment.pointAt(from), segment.pointAt(to));
}

}  // namespace

TracePlot::TracePlot(const NeedleRule& rule, std::span<const TracePoint> trace, double z,
                     QSize size, std::optional<ValueRange> range)
    : rule_(rule), area_(plotArea(size, 90, 96))
{
    for (const TracePoint& point : trace) {
        samples_.push_back({static_cast<double>(point.needles), traceValues(rule_, point, z)});
    }
    lastNeedles_ = std::max(2.0, samples_.back().needles);
    if (range) {
        low_ = range->low;
        high_ = range->high;
        return;
    }
    // The band as it stands after a hundred needles sets the scale: wide enough to show the
    // run settling, narrow enough to see it; pi stays in view.
    const TraceValues early =
        traceValues(rule_, {std::min<std::int64_t>(100, trace.back().needles), 0}, z);
    const double limit = early.limit;
    // The band is cut where values end, at 0 or 1; the scale is set by its wider side.
    double half = std::max(early.high - limit, limit - early.low);
    if (estimateFactor(rule_)) {
        half = std::max(half, 1.3 * std::abs(std::numbers::pi - limit));
    }
    // No estimate and no fraction is below 0.
    low_ = std::max(0.0, limit - half);
    high_ = limit + half;
}

int TracePlot::columnOf(double needles) const
{
    return area_.left() + static_cast<int>(std::lround(std::log(needles) / std::log(lastNeedles_) *
                                                       (area_.width() - 1)));
}

double TracePlot::heightOf(double value) const
{
    return area_.bottom() - (value - low_) / (high_ - low_) * (area_.height() - 1);
}

int TracePlot::rowOf(double value) const
{
    return static_cast<int>(std::lround(heightOf(value)));
}

void TracePlot::paint(QPainter& painter, const QString& title) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(plotFont(14));
    paintSeries(painter);
    paintAxes(painter);
    paintLegend(painter);
    drawPlotTitle(painter, title);
}

QPointF TracePlot::inside(double needles, double value) const
{
    // Values beyond the axis are held at its ends by hand: an SVG file keeps no clipping.
    return QPointF(columnOf(needles), std::clamp(rowOf(value), area_.top(), area_.bottom()));
}

void TracePlot::paintSeries(QPainter& painter) const
{
    painter.save();
    QPainterPath band;
    band.moveTo(inside(samples_.front().needles, samples_.front().values.high));
    for (const Sample& sample : samples_) {
        band.lineTo(inside(sample.needles, sample.values.high));
    }
    for (const Sample& sample : samples_ | std::views::reverse) {
        band.lineTo(inside(sample.needles, sample.values.low));
    }
    painter.fillPath(band, QColor::fromRgb(kBandColour));
    const auto across = [&](double value, const QPen& pen) {
        if (low_ <= value && value <= high_) {
            painter.setPen(pen);
            painter.drawLine(area_.left(), rowOf(value), area_.right(), rowOf(value));
        }
    };
    across(samples_.front().values.limit, QPen(Qt::darkGray, 2, Qt::DashLine, Qt::FlatCap));
    if (estimateFactor(rule_)) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        across(std::numbers::pi, QPen(QColor::fromRgb(kPiColour), 2, Qt::SolidLine, Qt::FlatCap));
        painter.setRenderHint(QPainter::Antialiasing);
    }
    paintRun(painter);
    painter.restore();
}

bool TracePlot::offScale(const Sample& sample) const
{
    return !std::isnan(sample.values.value) &&
           (sample.values.value < low_ || sample.values.value > high_);
}

void TracePlot::paintRun(QPainter& painter) const
{
    // The run's line, broken where it leaves the axis, never held at an edge as if it were
    // data there; each point beyond the axis is marked at the edge it lies beyond.
    painter.setPen(QPen(QColor::fromRgb(kRunColour), 2));
    QPolygonF line;
    const auto flush = [&] {
        if (line.size() > 1) {
            painter.drawPolyline(line);
        }
        line.clear();
    };
    std::optional<QPointF> previous;
    double lastAbove = -1e9;
    double lastBelow = -1e9;
    for (const Sample& sample : samples_) {
        if (std::isnan(sample.values.value)) {
            continue;
        }
        const QPointF point(columnOf(sample.needles), heightOf(sample.values.value));
        const auto shown =
            withinRows(QLineF(previous.value_or(point), point), area_.top(), area_.bottom());
        if (shown && (line.isEmpty() || line.back() != shown->p1())) {
            flush();
            line << shown->p1();
        }
        if (shown && line.back() != shown->p2()) {
            line << shown->p2();
        }
        // Marks apart, where points crowd: a row of them is no line.
        const bool above = sample.values.value > high_;
        double& lastMark = above ? lastAbove : lastBelow;
        if (offScale(sample) && point.x() >= lastMark + 12) {
            drawBeyondMark(painter, QPointF(point.x(), above ? area_.top() : area_.bottom()),
                           above ? Beyond::Up : Beyond::Down, QColor::fromRgb(kRunColour));
            lastMark = point.x();
        }
        previous = point;
    }
    flush();
}

void TracePlot::paintAxes(QPainter& painter) const
{
    // Axes and ticks crisp, on whole pixels.
    const QFontMetrics metrics(painter.font());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::black);
    painter.drawLine(area_.bottomLeft(), area_.bottomRight());
    painter.drawLine(area_.bottomLeft(), area_.topLeft());
    for (const Tick& tick : decadeTicks(lastNeedles_)) {
        const int column = columnOf(tick.value);
        painter.drawLine(column, area_.bottom(), column, area_.bottom() + 5);
        drawTickBelow(painter, tick, column, area_.bottom());
    }
    for (const Tick& tick : ticksOf(low_, high_, tickStep(high_ - low_, 8))) {
        painter.drawLine(area_.left() - 5, rowOf(tick.value), area_.left(), rowOf(tick.value));
        drawTickBeside(painter, tick, area_.left(), rowOf(tick.value));
    }
    drawBottomLabel(painter, QStringLiteral("needles thrown (log scale)"));
    drawSideLabel(painter, 18, area_.center().y(),
                  estimateFactor(rule_) ? QStringLiteral("running estimate of π")
                                        : QStringLiteral("hit fraction"));
}

std::vector<TracePlot::LegendEntry> TracePlot::legendEntries() const
{
    const bool estimates = estimateFactor(rule_).has_value();
    const QString runLabel = estimates ? QString::fromUtf8(textsOf(rule_).runningEstimate)
                                       : QStringLiteral("hit fraction so far");
    std::vector<LegendEntry> entries{
        {QPen(QColor::fromRgb(kRunColour), 2), runLabel},
        {QPen(Qt::darkGray, 2, Qt::DashLine, Qt::FlatCap),
         QStringLiteral("this rule's limit %1").arg(samples_.front().values.limit, 0, 'f', 5)},
        {QPen(QColor::fromRgb(kBandColour), 8), QStringLiteral("95% band, ±1.96 SD")}};
    if (estimates) {
        entries.insert(entries.begin() + 1,
                       {QPen(QColor::fromRgb(kPiColour), 2),
                        QStringLiteral("π = %1").arg(std::numbers::pi, 0, 'f', 5)});
    }
    if (std::any_of(samples_.begin(), samples_.end(), [&](const Sample& sample) {
            return offScale(sample);
        })) {
        entries.push_back({Qt::NoPen, QStringLiteral("beyond the axis")});
    }
    return entries;
}

void TracePlot::paintLegend(QPainter& painter) const
{
    // Above the plot: what each line is, and how the estimate is formed; in two rows when the
    // marks of points beyond the axis make one too long.
    const QFontMetrics metrics(painter.font());
    const std::vector<LegendEntry> entries = legendEntries();
    const auto widthOf = [&](const LegendEntry& entry) {
        return 30 + metrics.horizontalAdvance(entry.label) + 24;
    };
    int total = 0;
    for (const LegendEntry& entry : entries) {
        total += widthOf(entry);
    }
    int x = area_.left() + 8;
    int y = area_.top() - (total > area_.width() ? 42 : 22);
    for (const LegendEntry& entry : entries) {
        if (x + widthOf(entry) > area_.right() + 24) {
            x = area_.left() + 8;
            y += 20;
        }
        if (entry.pen.style() == Qt::NoPen) {
            drawBeyondMark(painter, QPointF(x + 12, y - 4), Beyond::Up,
                           QColor::fromRgb(kRunColour));
        } else {
            painter.setPen(entry.pen);
            painter.drawLine(x, y, x + 24, y);
        }
        painter.setPen(Qt::black);
        painter.drawText(x + 30, y + metrics.ascent() / 2 - 1, entry.label);
        x += widthOf(entry);
    }
}

}  // namespace buffon
