// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/pictures/space_plot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

#include "experiment/palette.h"
#include "stats/tool/pictures/axis_ticks.h"
#include "stats/tool/pictures/plot_file.h"

namespace buffon {
namespace {

// Enough samples of the regions' bounds that no curve shows a corner.
constexpr int kSamples = 240;

QColor colourOf(PaletteIndex index)
{
    const Rgb rgb = paletteColour(index);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// A multiple of a quarter of pi, as a label: "0", "π/4", "π/2", "3π/4", "π", "2π".
QString quartersOfPi(int quarters)
{
    if (quarters == 0) {
        return QStringLiteral("0");
    }
    const int common = std::gcd(quarters, 4);
    const int multiple = quarters / common;
    const QString text = multiple == 1 ? QStringLiteral("π") : QStringLiteral("%1π").arg(multiple);
    return common == 4 ? text : text + QStringLiteral("/%1").arg(4 / common);
}

}  // namespace

SpacePlot::SpacePlot(const NeedleRule& rule, std::vector<Throw> throws, QSize size)
    : rule_(rule),
      space_(throwSpace(rule)),
      throws_(std::move(throws)),
      area_(plotArea(size, 90, 104))
{
}

QPointF SpacePlot::pointOf(double angle, double height) const
{
    const double across = angle / space_.angleSpan;
    const double up = (height - space_.lowest) / (space_.highest - space_.lowest);
    return {area_.left() + across * (area_.width() - 1),
            area_.bottom() - up * (area_.height() - 1)};
}

void SpacePlot::paint(QPainter& painter, const QString& title) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(plotFont(14));
    paintRegions(painter);
    paintThrows(painter);
    paintAxes(painter);
    paintLegend(painter);
    drawPlotTitle(painter, title);
}

QPolygonF SpacePlot::regionOutline(
    const std::function<std::optional<HeightRange>(double)>& range) const
{
    // The upper bound left to right, then the lower bound back, each held within the plane: an
    // SVG file keeps no clipping.
    const auto held = [&](double angle, double height) {
        return pointOf(angle, std::clamp(height, space_.lowest, space_.highest));
    };
    QPolygonF outline;
    for (int i = 0; i <= kSamples; ++i) {
        const double angle = space_.angleSpan * i / kSamples;
        outline << held(angle, range(angle)->high);
    }
    for (int i = kSamples; i >= 0; --i) {
        const double angle = space_.angleSpan * i / kSamples;
        outline << held(angle, range(angle)->low);
    }
    return outline;
}

QColor SpacePlot::regionColour() const
{
    // Where another region is set beside this one, what shows of this one around it is its
    // extra area.
    return QColor::fromRgb(comparedRegion(rule_, 0) ? kExtraColour : kRegionColour);
}

void SpacePlot::paintRegions(QPainter& painter) const
{
    painter.save();
    painter.setPen(QPen(regionColour().darker(140), 1));
    painter.setBrush(regionColour());
    painter.drawPolygon(regionOutline([&](double angle) {
        return std::optional(hitRegion(rule_, angle));
    }));
    if (comparedRegion(rule_, 0)) {
        painter.setPen(QPen(QColor::fromRgb(kComparedColour), 1.5, Qt::DashLine));
        painter.setBrush(QColor::fromRgb(kRegionColour));
        painter.drawPolygon(regionOutline([&](double angle) {
            return comparedRegion(rule_, angle);
        }));
    }
    painter.restore();
}

void SpacePlot::paintThrows(QPainter& painter) const
{
    // One shape of dots a colour keeps an SVG file small however many needles it shows.
    QPainterPath hits;
    QPainterPath misses;
    // Dots that overlap fill each other, not cancel out.
    hits.setFillRule(Qt::WindingFill);
    misses.setFillRule(Qt::WindingFill);
    for (const Throw& needle : throws_) {
        (needle.hit ? hits : misses).addEllipse(pointOf(needle.angle, needle.height), 1.6, 1.6);
    }
    painter.fillPath(misses, colourOf(PaletteIndex::LightGreen));
    painter.fillPath(hits, colourOf(PaletteIndex::LightBlue));
}

void SpacePlot::paintAxes(QPainter& painter) const
{
    const QFontMetrics metrics(painter.font());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::black);
    painter.drawLine(area_.bottomLeft(), area_.bottomRight());
    painter.drawLine(area_.bottomLeft(), area_.topLeft());
    // Quarters of pi, up to the largest angle a needle can take.
    for (int quarter = 0; quarter * std::numbers::pi / 4 <= space_.angleSpan + 1e-6; ++quarter) {
        const int column = qRound(pointOf(quarter * std::numbers::pi / 4, space_.lowest).x());
        const QString label = quartersOfPi(quarter);
        painter.drawLine(column, area_.bottom(), column, area_.bottom() + 5);
        painter.drawText(column - metrics.horizontalAdvance(label) / 2,
                         area_.bottom() + 8 + metrics.ascent(), label);
    }
    const double span = space_.highest - space_.lowest;
    for (const Tick& tick : ticksOf(space_.lowest, space_.highest, tickStep(span, 8))) {
        const int row = qRound(pointOf(0, tick.value).y());
        painter.drawLine(area_.left() - 5, row, area_.left(), row);
        painter.drawText(area_.left() - 8 - metrics.horizontalAdvance(tick.text),
                         row + metrics.ascent() / 2, tick.text);
    }
    drawBottomLabel(painter, QString::fromUtf8(space_.angleName));
    drawSideLabel(painter, 18, area_.center().y(), QString::fromUtf8(space_.heightName));
    painter.restore();
}

void SpacePlot::paintLegend(QPainter& painter) const
{
    const QFontMetrics metrics(painter.font());
    const RuleTexts& texts = textsOf(rule_);
    // The regions on one line, the points on the next.
    int x = area_.left() + 8;
    int y = area_.top() - 40;
    const auto entry = [&](const auto& drawMark, const QString& label) {
        drawMark(QRect(x, y - 6, 24, 12));
        painter.setPen(Qt::black);
        painter.drawText(x + 30, y + metrics.ascent() / 2 - 1, label);
        x += 30 + metrics.horizontalAdvance(label) + 22;
    };
    entry(
        [&](QRect mark) {
            painter.setPen(QPen(regionColour().darker(140), 1));
            painter.setBrush(regionColour());
            painter.drawRect(mark);
            if (comparedRegion(rule_, 0)) {
                painter.fillRect(mark.adjusted(1, 1, -1, -4), QColor::fromRgb(kRegionColour));
            }
        },
        QStringLiteral("%1: rate %2")
            .arg(QString::fromUtf8(texts.hitRegion))
            .arg(exactRate(rule_), 0, 'f', 6));
    if (comparedRegion(rule_, 0)) {
        entry(
            [&](QRect mark) {
                painter.setPen(QPen(QColor::fromRgb(kComparedColour), 1.5, Qt::DashLine));
                painter.setBrush(QColor::fromRgb(kRegionColour));
                painter.drawRect(mark);
            },
            QStringLiteral("%1: rate %2")
                .arg(QString::fromUtf8(texts.comparedRegion))
                .arg(comparedRate(rule_), 0, 'f', 6));
    }
    x = area_.left() + 8;
    y += 20;
    for (const bool hit : {true, false}) {
        entry(
            [&](QRect mark) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(
                    colourOf(hit ? PaletteIndex::LightBlue : PaletteIndex::LightGreen));
                painter.drawEllipse(QPointF(mark.center()), 3.0, 3.0);
            },
            hit ? QStringLiteral("hit") : QStringLiteral("miss"));
    }
}

}  // namespace buffon
