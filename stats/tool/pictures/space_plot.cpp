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
constexpr int kFontSize = 14;

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
    : rule_(rule), space_(throwSpace(rule)), throws_(std::move(throws))
{
    whole_ = {0, space_.angleSpan, space_.lowest, space_.highest, {}};
    // Room left of the plane for its widest height label, as long as a spacing makes it.
    int widest = 0;
    for (const Tick& tick : heightTicks(whole_)) {
        widest = std::max(widest, tickWidth(plotFont(kFontSize), tick));
    }
    const QRect area = plotArea(size, std::max(90, 44 + widest), 104);
    whole_.area = area;
    // Where the rule's region reaches below the one set beside it by a thin band, the band a
    // quarter of the way across, over half the angles and three times its thickness.
    const double angle = space_.angleSpan / 4;
    const std::optional<HeightRange> compared = comparedRegion(rule_, angle);
    if (!compared) {
        return;
    }
    const double low = hitRegion(rule_, angle).low;
    const double band = compared->low - low;
    const int width = area.width() * 3 / 10;
    whole_.area.setRight(area.right() - width - 70);
    magnified_ = View{0, space_.angleSpan / 2, low - 1.5 * band, compared->low + 1.5 * band,
                      QRect(area.right() - width + 1, area.top(), width, area.height())};
}

QPointF SpacePlot::View::pointOf(double angle, double height) const
{
    const double across = (angle - angleLow) / (angleHigh - angleLow);
    const double up = (height - heightLow) / (heightHigh - heightLow);
    return {area.left() + across * (area.width() - 1), area.bottom() - up * (area.height() - 1)};
}

bool SpacePlot::View::holds(const Throw& needle) const
{
    return angleLow <= needle.angle && needle.angle <= angleHigh && heightLow <= needle.height &&
           needle.height <= heightHigh;
}

void SpacePlot::paint(QPainter& painter, const QString& title) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(plotFont(kFontSize));
    for (const View* view : {&whole_, magnified_ ? &*magnified_ : nullptr}) {
        if (view) {
            paintRegions(painter, *view);
            paintThrows(painter, *view, view == &whole_ ? 1.6 : 2.5);
            paintAxes(painter, *view);
        }
    }
    paintStretch(painter);
    paintLegend(painter);
    drawPlotTitle(painter, title);
}

QPolygonF SpacePlot::regionOutline(
    const View& view, const std::function<std::optional<HeightRange>(double)>& range) const
{
    // The upper bound left to right, then the lower bound back, each held within the view: an
    // SVG file keeps no clipping.
    const auto held = [&](double angle, double height) {
        return view.pointOf(angle, std::clamp(height, view.heightLow, view.heightHigh));
    };
    const auto angleAt = [&](int i) {
        return view.angleLow + (view.angleHigh - view.angleLow) * i / kSamples;
    };
    QPolygonF outline;
    for (int i = 0; i <= kSamples; ++i) {
        outline << held(angleAt(i), range(angleAt(i))->high);
    }
    for (int i = kSamples; i >= 0; --i) {
        outline << held(angleAt(i), range(angleAt(i))->low);
    }
    return outline;
}

QColor SpacePlot::regionColour() const
{
    // Where another region is set beside this one, what shows of this one around it is its
    // extra area.
    return QColor::fromRgb(comparedRegion(rule_, 0) ? kExtraColour : kRegionColour);
}

void SpacePlot::paintRegions(QPainter& painter, const View& view) const
{
    painter.save();
    painter.setPen(QPen(regionColour().darker(140), 1));
    painter.setBrush(regionColour());
    painter.drawPolygon(regionOutline(view, [&](double angle) {
        return std::optional(hitRegion(rule_, angle));
    }));
    if (comparedRegion(rule_, 0)) {
        painter.setPen(QPen(QColor::fromRgb(kComparedColour), 1.5, Qt::DashLine));
        painter.setBrush(QColor::fromRgb(kRegionColour));
        painter.drawPolygon(regionOutline(view, [&](double angle) {
            return comparedRegion(rule_, angle);
        }));
    }
    painter.restore();
}

void SpacePlot::paintThrows(QPainter& painter, const View& view, double radius) const
{
    // Shapes of many dots keep an SVG file small however many needles it shows; but each is one
    // attribute of the file, and libxml2 refuses one over 10 MB, or reading 10 MB of the file
    // without a break between elements short enough to let go of what it has read. Shapes of a
    // few hundred dots give it such breaks every 50 kB or so.
    constexpr int kDotsPerShape = 250;
    for (const bool hit : {false, true}) {
        const QColor colour = colourOf(hit ? PaletteIndex::LightBlue : PaletteIndex::LightGreen);
        QPainterPath dots;
        int inShape = 0;
        for (const Throw& needle : throws_) {
            if (needle.hit != hit || !view.holds(needle)) {
                continue;
            }
            if (inShape++ == kDotsPerShape) {
                painter.fillPath(dots, colour);
                dots = QPainterPath();
                inShape = 1;
            }
            // Dots that overlap fill each other, not cancel out.
            dots.setFillRule(Qt::WindingFill);
            dots.addEllipse(view.pointOf(needle.angle, needle.height), radius, radius);
        }
        painter.fillPath(dots, colour);
    }
}

std::vector<Tick> SpacePlot::heightTicks(const View& view)
{
    return ticksOf(view.heightLow, view.heightHigh, tickStep(view.heightHigh - view.heightLow, 8));
}

void SpacePlot::paintAxes(QPainter& painter, const View& view) const
{
    const QRect& area = view.area;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::black);
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.bottomLeft(), area.topLeft());
    // Quarters of pi, up to the largest angle a needle can take.
    for (int quarter = 0; quarter * std::numbers::pi / 4 <= view.angleHigh + 1e-6; ++quarter) {
        const int column = qRound(view.pointOf(quarter * std::numbers::pi / 4, 0).x());
        painter.drawLine(column, area.bottom(), column, area.bottom() + 5);
        drawTickBelow(painter, {0, quartersOfPi(quarter), {}}, column, area.bottom());
    }
    for (const Tick& tick : heightTicks(view)) {
        const int row = qRound(view.pointOf(0, tick.value).y());
        painter.drawLine(area.left() - 5, row, area.left(), row);
        drawTickBeside(painter, tick, area.left(), row);
    }
    const int below = painter.window().height() - 24;
    if (&view == &whole_) {
        painter.drawText(QRect(area.left(), below, area.width(), 20), Qt::AlignHCenter,
                         QString::fromUtf8(space_.angleName));
        drawSideLabel(painter, 18, area.center().y(), QString::fromUtf8(space_.heightName));
    } else {
        // How much taller the band stands here than in the whole plane.
        const double times = (whole_.heightHigh - whole_.heightLow) / whole_.area.height() /
                             ((view.heightHigh - view.heightLow) / area.height());
        painter.drawText(QRect(area.left() - 40, below, area.width() + 80, 20), Qt::AlignHCenter,
                         QStringLiteral("the band, %1 times taller").arg(qRound(times)));
    }
    painter.restore();
}

void SpacePlot::paintStretch(QPainter& painter) const
{
    // The stretch outlined where it lies in the whole plane, and its panel framed alike.
    if (!magnified_) {
        return;
    }
    painter.save();
    painter.setPen(QPen(QColor::fromRgb(kStretchColour), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(whole_.pointOf(magnified_->angleLow, magnified_->heightHigh),
                            whole_.pointOf(magnified_->angleHigh, magnified_->heightLow)));
    painter.drawRect(QRectF(magnified_->area).adjusted(0, 0, -1, -1));
    painter.restore();
}

void SpacePlot::paintLegend(QPainter& painter) const
{
    const QFontMetrics metrics(painter.font());
    const RuleTexts& texts = textsOf(rule_);
    // The regions on one line, the points on the next.
    int x = whole_.area.left() + 8;
    int y = whole_.area.top() - 40;
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
    x = whole_.area.left() + 8;
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
