// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/pictures/axis_ticks.h"

#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace buffon {
namespace {

// No axis carries more ticks than this, whatever it is asked.
constexpr int kMostTicks = 1000;

// Numbers from which on, and up to which, ticks are written as powers of ten.
constexpr double kLargestWritten = 1e6;
constexpr double kSmallestWritten = 1e-3;

bool asPowers(double largest)
{
    return largest >= kLargestWritten || (largest > 0 && largest <= kSmallestWritten);
}

// `value` as a power of ten with `decimals` decimals to its factor: "10" and "5" for 1e5,
// "2.5×10" and "-7" for 2.5e-7; 0 as "0".
Tick powerTick(double value, int decimals)
{
    if (value == 0) {
        return {0, QStringLiteral("0"), {}};
    }
    // Written by Qt so that the factor's rounding carries into the power: 9.99e5 to 1 decimal is
    // "1.0e+06".
    const QString written = QString::number(value, 'e', std::max(decimals, 0));
    QString factor = written.section(QLatin1Char('e'), 0, 0);
    if (factor.contains(QLatin1Char('.'))) {
        while (factor.endsWith(QLatin1Char('0'))) {
            factor.chop(1);
        }
        if (factor.endsWith(QLatin1Char('.'))) {
            factor.chop(1);
        }
    }
    const QString power = QString::number(written.section(QLatin1Char('e'), 1).toInt());
    const QString sign = factor.startsWith(QLatin1Char('-')) ? QStringLiteral("-") : QString();
    const QString bare = factor.mid(sign.size());
    return {value,
            sign + (bare == QLatin1String("1") ? QString() : bare + QStringLiteral("×")) +
                QStringLiteral("10"),
            power};
}

// A number written out, in groups of three: "1,000", "3.14".
Tick writtenTick(double value, int decimals)
{
    return {value, QLocale(QLocale::English).toString(value, 'f', std::max(decimals, 0)), {}};
}

QFont powerFont(const QFont& font)
{
    QFont small = font;
    small.setPixelSize(std::max(1, font.pixelSize() * 3 / 4));
    return small;
}

void drawLabel(QPainter& painter, const Tick& tick, int left, int baseline)
{
    const QFontMetrics metrics(painter.font());
    painter.drawText(left, baseline, tick.text);
    if (!tick.power.isEmpty()) {
        painter.save();
        painter.setFont(powerFont(painter.font()));
        painter.drawText(left + metrics.horizontalAdvance(tick.text) + 1,
                         baseline - metrics.ascent() / 2, tick.power);
        painter.restore();
    }
}

}  // namespace

double tickStep(double span, int ticks)
{
    const double rough = span / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            return factor * power;
        }
    }
    return 10.0 * power;
}

std::vector<Tick> ticksOf(double low, double high, double step)
{
    // An end that is a multiple of the step gets its tick, whatever the last bit says.
    const double first = std::ceil(low / step - 1e-9);
    std::vector<double> values;
    double largest = 0;
    for (int i = 0; (first + i) * step <= high + step * 1e-9 && i <= kMostTicks; ++i) {
        values.push_back((first + i) * step + 0.0);  // never "-0"
        largest = std::max(largest, std::abs(values.back()));
    }
    const int stepPower = static_cast<int>(std::floor(std::log10(step) + 1e-9));
    std::vector<Tick> ticks;
    for (const double value : values) {
        if (!asPowers(largest)) {
            ticks.push_back(writtenTick(value, -stepPower));
            continue;
        }
        const double power = value == 0 ? stepPower : std::floor(std::log10(std::abs(value)));
        ticks.push_back(powerTick(value, static_cast<int>(power) - stepPower));
    }
    return ticks;
}

std::vector<Tick> ticksAlong(double low, double high, int most, int length, const QFont& font)
{
    for (;; most = most * 2 / 3) {
        const double step = tickStep(high - low, most);
        std::vector<Tick> ticks = ticksOf(low, high, step);
        int widest = 0;
        for (const Tick& tick : ticks) {
            widest = std::max(widest, tickWidth(font, tick));
        }
        if (most <= 2 || widest + 12 <= step / (high - low) * length) {
            return ticks;
        }
    }
}

std::vector<Tick> decadeTicks(double high)
{
    int last = 0;
    while (std::pow(10.0, last + 1) <= high) {
        ++last;
    }
    std::vector<Tick> ticks;
    for (int power = 0; power <= last; ++power) {
        const double value = std::pow(10.0, power);
        ticks.push_back(asPowers(std::pow(10.0, last)) ? powerTick(value, 0)
                                                       : writtenTick(value, 0));
    }
    return ticks;
}

int tickWidth(const QFont& font, const Tick& tick)
{
    return QFontMetrics(font).horizontalAdvance(tick.text) +
           (tick.power.isEmpty() ? 0
                                 : 1 + QFontMetrics(powerFont(font)).horizontalAdvance(tick.power));
}

void drawTickBelow(QPainter& painter, const Tick& tick, int column, int axis)
{
    drawLabel(painter, tick, column - tickWidth(painter.font(), tick) / 2,
              axis + 8 + QFontMetrics(painter.font()).ascent());
}

void drawTickBeside(QPainter& painter, const Tick& tick, int axis, int row)
{
    drawLabel(painter, tick, axis - 8 - tickWidth(painter.font(), tick),
              row + QFontMetrics(painter.font()).ascent() / 2);
}

}  // namespace buffon
