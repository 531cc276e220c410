// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/pictures/histogram_plot.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "stats/tool/pictures/plot_file.h"
#include "stats/tool/pictures/plot_texts.h"

namespace buffon {
namespace {

constexpr int kFontSize = 14;
// No more bars than the plot's width shows two pixels wide.
constexpr int kMostBins = 400;

}  // namespace

HistogramPlot::HistogramPlot(std::span<const Tally> estimates, double mean, QSize size,
                             std::optional<ValueRange> range)
    : area_(plotArea(size, 80, 96)), mean_(mean)
{
    double smallest = estimates.front().value;
    double largest = smallest;
    std::int64_t runs = 0;
    for (const Tally& tally : estimates) {
        smallest = std::min(smallest, tally.value);
        largest = std::max(largest, tally.value);
        runs += tally.runs;
    }
    // The Rice rule, kept within what the plot's width can show.
    const int bins = std::clamp(
        static_cast<int>(std::lround(2.0 * std::cbrt(static_cast<double>(runs)))), 5, 80);
    // A single value still gets bins of some width around it.
    const double spread =
        largest > smallest ? largest - smallest : std::max(std::abs(smallest) * 1e-3, 1e-3);
    if (range) {
        // Bars of a round width on a grid of their own, so that two batches drawn on one axis
        // share their bars' edges; as many as the Rice rule gives the runs on the axis.
        low_ = range->low;
        high_ = range->high;
        binWidth_ = std::max(tickStep(std::min(spread, high_ - low_) / (bins - 1), 1),
                             tickStep(high_ - low_, kMostBins));
        binStart_ = std::floor(low_ / binWidth_ + 1e-9) * binWidth_;
        // The last bar ends at or just past the axis's end, which it holds.
        const double last = std::ceil((high_ - binStart_) / binWidth_ - 1e-9) - 1;
        counts_.assign(static_cast<std::size_t>(last) + 1, 0);
        for (const Tally& tally : estimates) {
            const double bin = std::floor((tally.value - binStart_) / binWidth_);
            (tally.value < low_ ? below_
             : tally.value > high_
                 ? above_
                 : counts_[static_cast<std::size_t>(std::clamp(bin, 0.0, last))]) += tally.runs;
        }
        return;
    }
    binWidth_ = spread / (bins - 1);
    binStart_ = smallest - binWidth_ / 2;
    counts_.assign(static_cast<std::size_t>(bins), 0);
    for (const Tally& tally : estimates) {
        // The extremes lie half a bin inside the ends; rounding may not move them out.
        const double bin = std::floor((tally.value - binStart_) / binWidth_);
        counts_[static_cast<std::size_t>(std::clamp(bin, 0.0, bins - 1.0))] += tally.runs;
    }
    // Pi stays in view even when every estimate misses it.
    low_ = std::min(binStart_, std::numbers::pi);
    high_ = std::max(binStart_ + bins * binWidth_, std::numbers::pi);
    const double margin = (high_ - low_) * 0.04;
    low_ -= margin;
    high_ += margin;
}

HistogramPlot HistogramPlot::ofBatch(const HitTally& tally, const BatchSummary& summary,
                                     double factor, const HitLaw& law, QSize size,
                                     std::optional<ValueRange> range)
{
    // Every run with the same hits has the same estimate.
    HistogramPlot plot(estimatesOf(tally, summary.needles, summary.deduction, factor),
                       *summary.withDeduction.mean, size, range);
    plot.setExpected(expectedRuns(law, summary.runs, plot.counts().size(),
                                  [&](std::int64_t hits) -> std::optional<std::size_t> {
                                      const auto estimate = runEstimate(
                                          summary.needles, summary.deduction, hits, factor);
                                      return estimate ? plot.binOf(*estimate) : std::nullopt;
                                  }));
    return plot;
}

std::optional<std::size_t> HistogramPlot::binOf(double value) const
{
    const double bin = std::floor((value - binStart_) / binWidth_);
    if (!(bin >= 0 && bin < static_cast<double>(counts_.size()))) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(bin);
}

int HistogramPlot::columnOf(double value) const
{
    return area_.left() +
           static_cast<int>(std::lround((value - low_) / (high_ - low_) * (area_.width() - 1)));
}

std::vector<Tick> HistogramPlot::valueTicks() const
{
    // Enough labelled ticks to read an estimate off the axis to a hundredth or so.
    return ticksAlong(low_, high_, 20, area_.width(), plotFont(kFontSize));
}

std::vector<Tick> HistogramPlot::countTicks() const
{
    double tallest = static_cast<double>(*std::max_element(counts_.begin(), counts_.end()));
    for (const double runs : expected_) {
        tallest = std::max(tallest, runs);
    }
    const double step = std::max(1.0, tickStep(tallest, 5));
    // An axis of one run at least, where every run lies beyond the estimates shown.
    return ticksOf(0, std::max(step, std::ceil(tallest / step) * step), step);
}

void HistogramPlot::paint(QPainter& painter, const QString& title) const
{
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(plotFont(kFontSize));
    paintBars(painter);
    paintValueAxis(painter);
    paintExpected(painter);
    paintMarkers(painter);
    paintBeyond(painter);
    drawPlotTitle(painter, title);
}

int HistogramPlot::rowOf(double runs) const
{
    return area_.bottom() -
           static_cast<int>(std::lround(runs / countTicks().back().value * area_.height()));
}

void HistogramPlot::paintBars(QPainter& painter) const
{
    for (const Tick& tick : countTicks()) {
        painter.setPen(QColor(0xd8, 0xd8, 0xd8));
        painter.drawLine(area_.left(), rowOf(tick.value), area_.right(), rowOf(tick.value));
        painter.setPen(Qt::black);
        drawTickBeside(painter, tick, area_.left(), rowOf(tick.value));
    }
    painter.setPen(QColor(kBarEdgeColour));
    painter.setBrush(QColor::fromRgb(kBarColour));
    for (std::size_t bin = 0; bin < counts_.size(); ++bin) {
        // The bars at the ends of a fixed axis are cut at its edges.
        const double from = binStart_ + static_cast<double>(bin) * binWidth_;
        const int left = columnOf(std::max(from, low_));
        const int right = std::max(columnOf(std::min(from + binWidth_, high_)), left + 1);
        if (counts_[bin] > 0) {
            painter.drawRect(QRect(QPoint(left, rowOf(static_cast<double>(counts_[bin]))),
                                   QPoint(right, area_.bottom())));
        }
    }
    painter.setBrush(Qt::NoBrush);
}

void HistogramPlot::paintValueAxis(QPainter& painter) const
{
    painter.setPen(Qt::black);
    painter.drawLine(area_.bottomLeft(), area_.bottomRight());
    painter.drawLine(area_.bottomLeft(), area_.topLeft());
    const Tick* previous = nullptr;
    for (const Tick& tick : valueTicks()) {
        if (previous) {
            // An unlabelled tick halfway between two labelled ones.
            const int between = columnOf((previous->value + tick.value) / 2);
            painter.drawLine(between, area_.bottom(), between, area_.bottom() + 3);
        }
        previous = &tick;
        const int column = columnOf(tick.value);
        painter.drawLine(column, area_.bottom(), column, area_.bottom() + 5);
        drawTickBelow(painter, tick, column, area_.bottom());
    }
    drawBottomLabel(
        painter,
        QStringLiteral("estimate of π (bars %1 wide)").arg(QString::number(binWidth_, 'g', 3)));
    drawSideLabel(painter, 20, area_.center().y(), QStringLiteral("runs"));
}

void HistogramPlot::paintExpected(QPainter& painter) const
{
    // A dot at the middle of each bar, at the runs it should hold, joined bar to bar.
    QPolygonF points;
    for (std::size_t bin = 0; bin < expected_.size(); ++bin) {
        const double middle = binStart_ + (static_cast<double>(bin) + 0.5) * binWidth_;
        if (middle < low_ || middle > high_) {
            continue;
        }
        points << QPointF(
            columnOf(middle),
            area_.bottom() - expected_[bin] / countTicks().back().value * area_.height());
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor::fromRgb(kLawColour), 1.5));
    painter.drawPolyline(points);
    painter.setBrush(QColor::fromRgb(kLawColour));
    for (const QPointF& point : points) {
        painter.drawEllipse(point, 3.0, 3.0);
    }
    painter.restore();
}

void HistogramPlot::paintMarkers(QPainter& painter) const
{
    // The two markers run the plot's full height; their legend sits above it, clear of bars.
    const QFontMetrics metrics(painter.font());
    int legendX = area_.left() + 8;
    const int legendY = area_.top() - 22;
    const auto mark = [&](double value, QRgb colour, Qt::PenStyle style, const QString& label) {
        painter.setPen(QPen(QColor::fromRgb(colour), 2, style, Qt::FlatCap));
        if (low_ <= value && value <= high_) {
            painter.drawLine(columnOf(value), area_.top(), columnOf(value), area_.bottom());
        }
        painter.drawLine(legendX, legendY, legendX + 28, legendY);
        painter.setPen(Qt::black);
        painter.drawText(legendX + 36, legendY + metrics.ascent() / 2 - 1, label);
        legendX += 36 + metrics.horizontalAdvance(label) + 32;
    };
    mark(std::numbers::pi, kPiColour, Qt::SolidLine,
         QStringLiteral("π = %1").arg(std::numbers::pi, 0, 'f', 5));
    mark(mean_, kMeanColour, Qt::DashLine,
         QStringLiteral("mean of the estimates = %1").arg(mean_, 0, 'f', 5));
    if (!expected_.empty()) {
        painter.setPen(QPen(QColor::fromRgb(kLawColour), 1.5));
        painter.setBrush(QColor::fromRgb(kLawColour));
        painter.drawLine(legendX, legendY, legendX + 28, legendY);
        painter.drawEllipse(QPointF(legendX + 14, legendY), 3.0, 3.0);
        painter.setPen(Qt::black);
        painter.drawText(legendX + 36, legendY + metrics.ascent() / 2 - 1,
                         QStringLiteral("runs the exact law expects"));
    }
}

void HistogramPlot::paintBeyond(QPainter& painter) const
{
    // Runs beyond a fixed axis, counted at its edges.
    const QFontMetrics metrics(painter.font());
    const int row = area_.top() + 16;
    const QColor colour(kBarEdgeColour);
    painter.setPen(Qt::black);
    if (below_ > 0) {
        drawBeyondMark(painter, QPointF(area_.left() + 2, row), Beyond::Left, colour);
        painter.drawText(area_.left() + 14, row + metrics.ascent() / 2,
                         counted(below_, QStringLiteral("run"), QStringLiteral("runs")));
    }
    if (above_ > 0) {
        const QString text = counted(above_, QStringLiteral("run"), QStringLiteral("runs"));
        drawBeyondMark(painter, QPointF(area_.right() - 2, row), Beyond::Right, colour);
        painter.drawText(area_.right() - 14 - metrics.horizontalAdvance(text),
                         row + metrics.ascent() / 2, text);
    }
}

}  // namespace buffon
