// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/pictures/trace_plot.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <ranges>

#include "stats/tool/pictures/axis_ticks.h"
#include "stats/tool/pictures/plot_file.h"

namespace buffon {
TracePlot::TracePlot(const NeedleRule& rule, std::span<const TracePoint> trace, double z,
                     QSize size)
    : rule_(rule), area_(plotArea(size, 90, 96))
{
    for (const TracePoint& point : trace) {
        samples_.push_back({static_cast<double>(point.needles), traceValues(rule_, point, z)});
    }
    lastNeedles_ = std::max(2.0, samples_.back().needles);
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
    low_ = limit - half;
    high_ = limit + half;
}

int TracePlot::columnOf(double needles) const
{
    return area_.left() + static_cast<int>(std::lround(std::log(needles) / std::log(lastNeedles_) *
                                                       (area_.width() - 1)));
}

int TracePlot::rowOf(double value) const
{
    return area_.bottom() -
           static_cast<int>(std::lround((value - low_) / (high_ - low_) * (area_.height() - 1)));
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
    painter.setPen(QPen(Qt::darkGray, 2, Qt::DashLine, Qt::FlatCap));
    const double limit = samples_.front().values.limit;
    painter.drawLine(area_.left(), rowOf(limit), area_.right(), rowOf(limit));
    if (estimateFactor(rule_)) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(QColor::fromRgb(kPiColour), 2, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(area_.left(), rowOf(std::numbers::pi), area_.right(),
                         rowOf(std::numbers::pi));
        painter.setRenderHint(QPainter::Antialiasing);
    }
    QPolygonF run;
    for (const Sample& sample : samples_) {
        if (!std::isnan(sample.values.value)) {
            run << inside(sample.needles, sample.values.value);
        }
    }
    painter.setPen(QPen(QColor::fromRgb(kRunColour), 2));
    painter.drawPolyline(run);
    painter.restore();
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

void TracePlot::paintLegend(QPainter& painter) const
{
    // Above the plot: what each line is, and how the estimate is formed.
    const QFontMetrics metrics(painter.font());
    const bool estimates = estimateFactor(rule_).has_value();
    const QString runLabel = estimates ? QString::fromUtf8(textsOf(rule_).runningEstimate)
                                       : QStringLiteral("hit fraction so far");
    struct Entry {
        QPen pen;
        QString label;
    };
    std::vector<Entry> entries{
        {QPen(QColor::fromRgb(kRunColour), 2), runLabel},
        {QPen(Qt::darkGray, 2, Qt::DashLine, Qt::FlatCap),
         QStringLiteral("this rule's limit %1").arg(samples_.front().values.limit, 0, 'f', 5)},
        {QPen(QColor::fromRgb(kBandColour), 8), QStringLiteral("95% band, ±1.96 SD")}};
    if (estimates) {
        entries.insert(entries.begin() + 1,
                       {QPen(QColor::fromRgb(kPiColour), 2),
                        QStringLiteral("π = %1").arg(std::numbers::pi, 0, 'f', 5)});
    }
    int x = area_.left() + 8;
    const int y = area_.top() - 22;
    for (const Entry& entry : entries) {
        painter.setPen(entry.pen);
        painter.drawLine(x, y, x + 24, y);
        painter.setPen(Qt::black);
        painter.drawText(x + 30, y + metrics.ascent() / 2 - 1, entry.label);
        x += 30 + metrics.horizontalAdvance(entry.label) + 24;
    }
}

}  // namespace buffon
