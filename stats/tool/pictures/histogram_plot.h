// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QRect>
#include <QRgb>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "stats/batch_summary.h"
#include "stats/tool/inference/exact_law.h"
#include "stats/tool/pictures/axis_ticks.h"
#include "stats/tool/pictures/plot_file.h"

class QPainter;

namespace buffon {

// A histogram of a batch's estimates of pi with the true pi and the estimates' mean marked,
// and over its bars the runs each should hold under the exact law; drawn with QtGui alone, so
// it needs no display.
class HistogramPlot {
public:
    static constexpr QRgb kMeanColour = 0xff1050d0;
    static constexpr QRgb kBarColour = 0xff9bb7d4;
    static constexpr QRgb kBarEdgeColour = 0xff406090;
    static constexpr QRgb kLawColour = 0xffe07000;

    // `estimates` must hold at least one run. The estimates' axis spans `range` where it is
    // given, and runs beyond it are counted at its edges; otherwise the axis fits them all.
    HistogramPlot(std::span<const Tally> estimates, double mean, QSize size = kPlotSize,
                  std::optional<ValueRange> range = std::nullopt);
    // The histogram of a batch's estimates after the deduction, `factor` times needles over the
    // count, with the runs the law expects in each bar. The batch has at least one estimate.
    static HistogramPlot ofBatch(const HitTally& tally, const BatchSummary& summary, double factor,
                                 const HitLaw& law, QSize size = kPlotSize,
                                 std::optional<ValueRange> range = std::nullopt);

    // Paints onto a painter in the coordinates of the plot's size.
    void paint(QPainter& painter, const QString& title) const;

    // The image column a value falls on.
    int columnOf(double value) const;
    // Runs per bin, the bins in order from binStart() on, each binWidth() wide.
    const std::vector<std::int64_t>& counts() const { return counts_; }
    // The bin an estimate falls in, or none outside them all.
    std::optional<std::size_t> binOf(double value) const;
    // The runs each bin should hold, drawn over the bars; none are drawn until given.
    void setExpected(std::vector<double> runs) { expected_ = std::move(runs); }
    const std::vector<double>& expected() const { return expected_; }
    // Runs whose estimates lie beyond the axis, below it and above it.
    std::int64_t below() const { return below_; }
    std::int64_t above() const { return above_; }
    double binStart() const { return binStart_; }
    double binWidth() const { return binWidth_; }
    // Ticks of the estimate axis: round values, evenly spaced, each label just precise enough.
    std::vector<Tick> valueTicks() const;
    // Ticks of the runs axis, whole runs from 0 to the top of the axis.
    std::vector<Tick> countTicks() const;

private:
    // The image row of a number of runs.
    int rowOf(double runs) const;
    void paintBars(QPainter& painter) const;
    void paintValueAxis(QPainter& painter) const;
    void paintExpected(QPainter& painter) const;
    void paintMarkers(QPainter& painter) const;
    void paintBeyond(QPainter& painter) const;

    QRect area_;
    double low_ = 0;
    double high_ = 0;
    double binStart_ = 0;
    double binWidth_ = 0;
    double mean_ = 0;
    std::vector<std::int64_t> counts_;
    std::int64_t below_ = 0;
    std::int64_t above_ = 0;
    std::vector<double> expected_;
};

}  // namespace buffon
