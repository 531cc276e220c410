// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QRect>
#include <QRgb>
#include <QString>
#include <optional>
#include <vector>

#include "stats/batch_summary.h"
#include "stats/tool/pictures/plot_file.h"

class QPainter;

namespace buffon {

// Runs' own intervals for pi, a bar a run from the top, against the line of pi: bars that hold
// pi blue, those that miss it red, each run's estimate a dot on its bar. An interval that goes
// on beyond the axis, as one open above does, ends in an arrowhead at its edge.
class IntervalsPlot {
public:
    static constexpr QRgb kHoldColour = 0xff1050d0;
    static constexpr QRgb kMissColour = 0xffd01010;

    struct Run {
        std::optional<Interval> interval;  // none for a count below 0
        std::optional<double> estimate;
    };

    // `runs` holds at least one run. The axis spans `range` where it is given, and otherwise
    // every finite end and estimate, and pi.
    explicit IntervalsPlot(std::vector<Run> runs, QSize size = kPlotSize,
                           std::optional<ValueRange> range = std::nullopt);

    void paint(QPainter& painter, const QString& title) const;

    int columnOf(double value) const;
    int rowOf(std::size_t run) const;

private:
    static bool holdsPi(const Run& run);
    void paintRuns(QPainter& painter) const;
    void paintAxis(QPainter& painter) const;
    void paintLegend(QPainter& painter) const;

    std::vector<Run> runs_;
    QRect area_;
    double low_ = 0;
    double high_ = 1;
};

}  // namespace buffon
