// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/pictures/intervals_plot.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "stats/tool/pictures/axis_ticks.h"
#include "stats/tool/pictures/plot_file.h"

namespace buffon {

IntervalsPlot::IntervalsPlot(std::vector<Run> runs, QSize size, std::optional<ValueRange> range)
    : runs_(std::move(runs)), area_(plotArea(size, 80, 96))
{
    if (range) {
        low_ = range->low;
        high_ = range->high;
        return;
    }
    // Every finite end and estimate in view, and pi.
    low_ = high_ = std::numbers::pi;
    for (const Run& run : runs_) {
        for (const std::optional<double> value :
             {run.estimate, run.interval ? std::optional(run.interval->low) : std::nullopt,
              run.interval ? std::optional(run.interval->high) : std::nullopt}) {
            if (value && std::isfinite(*value)) {
                low_ = std::min(low_, *value);
                high_ = std::max(high_, *value);
            }
        }
    }
    const double margin = std::max(high_ - low_, 1e-6) * 0.04;
    low_ -= margin;
    high_ += margin;
}

int IntervalsPlot::columnOf(double value) const
{
    const double at = std::clamp((value - low_) / (high_ - low_), 0.0, 1.0);
    return area_.left() + static_cast<int>(std::lround(at * (area_.width() - 1)));
}

int IntervalsPlot::rowOf(std::size_t run) const
{
    const double step = static_cast<double>(area_.height()) / static_cast<double>(runs_.size());
    return area_.top() + static_cast<int>(std::lround((static_cast<double>(run) + 0.5) * step));
}

bool IntervalsPlot::holdsPi(const Run& run)
{
    return run.interval && run.interval->holds(std::numbers::pi);
}

void IntervalsPlot::paint(QPainter& painter, const QString& title) const
{
    painter.setFont(plotFont(14));
    paintRuns(painter);
    paintAxis(painter);
    paintLegend(painter);
    drawPlotTitle(painter, title);
}

void IntervalsPlot::paintRuns(QPainter& painter) const
{
    // A bar a run, cut at the axis's edges, an arrowhead past an edge where it goes on beyond.
    const int thickness = std::clamp(area_.height() / static_cast<int>(runs_.size()) - 1, 1, 6);
    for (std::size_t run = 0; run < runs_.size(); ++run) {
        const Run& shown = runs_[run];
        const QColor colour = QColor::fromRgb(holdsPi(shown) ? kHoldColour : kMissColour);
        if (shown.interval) {
            painter.fillRect(QRect(QPoint(columnOf(shown.interval->low), rowOf(run)),
                                   QPoint(columnOf(shown.interval->high), rowOf(run)))
                                 .adjusted(0, -thickness / 2, 0, thickness - 1 - thickness / 2),
                             colour);
            const int row = rowOf(run);
            if (shown.interval->low < low_) {
                drawBeyondMark(painter, QPointF(area_.left() - 9, row), Beyond::Left, colour);
            }
            if (shown.interval->high > high_) {
                drawBeyondMark(painter, QPointF(area_.right() + 9, row), Beyond::Right, colour);
            }
        }
        if (shown.estimate && low_ <= *shown.estimate && *shown.estimate <= high_) {
            painter.fillRect(QRect(columnOf(*shown.estimate) - 1, rowOf(run) - thickness / 2 - 1, 3,
                                   thickness + 2),
                             Qt::black);
        }
    }
}

void IntervalsPlot::paintAxis(QPainter& painter) const
{
    const QFontMetrics metrics(painter.font());
    if (low_ <= std::numbers::pi && std::numbers::pi <= high_) {
        const int column = columnOf(std::numbers::pi);
        painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(column, area_.top() - 6, column, area_.bottom());
        const QString label = QStringLiteral("π = %1").arg(std::numbers::pi, 0, 'f', 5);
        painter.drawText(column - metrics.horizontalAdvance(label) / 2, area_.top() - 10, label);
    }
    painter.setPen(Qt::black);
    painter.drawLine(area_.bottomLeft(), area_.bottomRight());
    for (const Tick& tick : ticksAlong(low_, high_, 12, area_.width(), painter.font())) {
        const int column = columnOf(tick.value);
        painter.drawLine(column, area_.bottom(), column, area_.bottom() + 5);
        drawTickBelow(painter, tick, column, area_.bottom());
    }
    drawBottomLabel(painter, QStringLiteral("interval for π (a dot at each run's estimate)"));
    drawSideLabel(painter, 20, area_.center().y(),
                  runs_.size() == 1
                      ? QStringLiteral("run 1")
                      : QStringLiteral("runs 1 to %1, from the top").arg(runs_.size()));
}

void IntervalsPlot::paintLegend(QPainter& painter) const
{
    // Both counts out of the runs shown, as the title counts them.
    const QFontMetrics metrics(painter.font());
    int legendX = area_.left() + 8;
    for (const bool holds : {true, false}) {
        const auto count = std::count_if(runs_.begin(), runs_.end(), [&](const Run& run) {
            return holdsPi(run) == holds;
        });
        const QString label =
            (holds ? QStringLiteral("holds π: %1 of %2") : QStringLiteral("misses π: %1 of %2"))
                .arg(count)
                .arg(runs_.size());
        painter.fillRect(QRect(legendX, 60, 24, 8),
                         QColor::fromRgb(holds ? kHoldColour : kMissColour));
        painter.drawText(legendX + 30, 64 + metrics.ascent() / 2 - 1, label);
        legendX += 30 + metrics.horizontalAdvance(label) + 24;
    }
}

}  // namespace buffon
