// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QPointF>
#include <QPolygonF>
#include <QRect>
#include <QRgb>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "stats/rules/needle_rule.h"
#include "stats/tool/pictures/axis_ticks.h"
#include "stats/tool/pictures/plot_file.h"

class QPainter;

namespace buffon {

// Needles as points of their rule's space of throws, angle across and height up, hits blue and
// misses green as on the board, over the rule's exact hit region, shaded; and, where the rule
// has one, the region of the rule it is set beside, outlined. The regions' rates are printed
// with them. Where the two regions differ by a thin band, a second panel shows a stretch of it
// magnified, with its points, so that the extra area is what the eye sees.
class SpacePlot {
public:
    static constexpr QRgb kRegionColour = 0xffd8e4f4;
    // What the rule's region adds to the one it is set beside.
    static constexpr QRgb kExtraColour = 0xfff2b45a;
    static constexpr QRgb kComparedColour = 0xff202020;
    static constexpr QRgb kStretchColour = 0xff7a3b00;

    // A part of the plane, angles and heights from low to high, and where the plot draws it.
    struct View {
        double angleLow = 0;
        double angleHigh = 1;
        double heightLow = 0;
        double heightHigh = 1;
        QRect area;

        QPointF pointOf(double angle, double height) const;
        bool holds(const Throw& needle) const;
    };

    SpacePlot(const NeedleRule& rule, std::vector<Throw> throws, QSize size = kPlotSize);

    void paint(QPainter& painter, const QString& title) const;

    // The whole plane, and the stretch of the band shown magnified, if any.
    const View& whole() const { return whole_; }
    const std::optional<View>& magnified() const { return magnified_; }
    const std::vector<Throw>& throws() const { return throws_; }

private:
    // The outline of the heights `range` gives at each angle of `view`, held within it.
    QPolygonF regionOutline(const View& view,
                            const std::function<std::optional<HeightRange>(double)>& range) const;
    QColor regionColour() const;
    void paintRegions(QPainter& painter, const View& view) const;
    void paintThrows(QPainter& painter, const View& view, double radius) const;
    static std::vector<Tick> heightTicks(const View& view);
    void paintAxes(QPainter& painter, const View& view) const;
    void paintStretch(QPainter& painter) const;
    void paintLegend(QPainter& painter) const;

    NeedleRule rule_;
    ThrowSpace space_;
    std::vector<Throw> throws_;
    View whole_;
    std::optional<View> magnified_;
};

}  // namespace buffon
