// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QPen>
#include <QPointF>
#include <QRect>
#include <QRgb>
#include <QString>
#include <optional>
#include <span>
#include <vector>

#include "stats/rules/needle_rule.h"
#include "stats/tool/pictures/plot_file.h"
#include "stats/trace.h"

class QPainter;

namespace buffon {

// One long run as it converges: the running estimate of pi against the needles thrown, on a
// log scale, with pi, the value this rule tends to, and the band of 1.96 standard deviations
// about it that narrows as 1/sqrt(n). Where the rule has no estimate, the hit fraction and its
// exact rate take their place.
class TracePlot {
public:
    static constexpr QRgb kRunColour = 0xff1050d0;
    static constexpr QRgb kBandColour = 0xffdde6f2;

    // The band is `z` standard deviations wide on either side. The value axis spans `range`
    // where it is given; otherwise it is fitted to the run's early band, never below 0.
    TracePlot(const NeedleRule& rule, std::span<const TracePoint> trace, double z,
              QSize size = kPlotSize, std::optional<ValueRange> range = std::nullopt);

    void paint(QPainter& painter, const QString& title) const;

    // Where a number of needles and a value fall on the plot.
    int columnOf(double needles) const;
    int rowOf(double value) const;
    // The range of the value axis.
    double low() const { return low_; }
    double high() const { return high_; }

private:
    struct Sample {
        double needles;
        TraceValues values;
    };

    // A line of the legend; one without a pen is the mark of a point beyond the axis.
    struct LegendEntry {
        QPen pen;
        QString label;
    };

    double heightOf(double value) const;
    QPointF inside(double needles, double value) const;
    bool offScale(const Sample& sample) const;
    void paintSeries(QPainter& painter) const;
    void paintRun(QPainter& painter) const;
    void paintAxes(QPainter& painter) const;
    std::vector<LegendEntry> legendEntries() const;
    void paintLegend(QPainter& painter) const;

    NeedleRule rule_;
    QRect area_;
    std::vector<Sample> samples_;
    double lastNeedles_ = 1;
    double low_ = 0;
    double high_ = 1;
};

}  // namespace buffon
