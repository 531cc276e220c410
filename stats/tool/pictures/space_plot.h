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
#include "stats/tool/pictures/plot_file.h"

class QPainter;

namespace buffon {

// Needles as points of their rule's space of throws, angle across and height up, hits blue and
// misses green as on the board, over the rule's exact hit region, shaded; and, where the rule
// has one, the region of the rule it is set beside, outlined. The regions' rates are printed
// with them, so the extra area the window's bands add is what the eye sees.
class SpacePlot {
public:
    static constexpr QRgb kRegionColour = 0xffd8e4f4;
    // What the rule's region adds to the one it is set beside.
    static constexpr QRgb kExtraColour = 0xfff2b45a;
    static constexpr QRgb kComparedColour = 0xff202020;

    SpacePlot(const NeedleRule& rule, std::vector<Throw> throws, QSize size = kPlotSize);

    void paint(QPainter& painter, const QString& title) const;

    // Where a point of the space falls on the plot.
    QPointF pointOf(double angle, double height) const;
    const std::vector<Throw>& throws() const { return throws_; }

private:
    // The outline of the heights `range` gives at each angle, held within the plane.
    QPolygonF regionOutline(const std::function<std::optional<HeightRange>(double)>& range) const;
    QColor regionColour() const;
    void paintRegions(QPainter& painter) const;
    void paintThrows(QPainter& painter) const;
    void paintAxes(QPainter& painter) const;
    void paintLegend(QPainter& painter) const;

    NeedleRule rule_;
    ThrowSpace space_;
    std::vector<Throw> throws_;
    QRect area_;
};

}  // namespace buffon
