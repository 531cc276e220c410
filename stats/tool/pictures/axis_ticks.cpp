// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/pictures/axis_ticks.h"

#include <algorithm>
#include <cmath>

namespace buffon {

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
    const int decimals = std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
    std::vector<Tick> ticks;
    for (double n = std::ceil(low / step); n * step <= high; ++n) {
        ticks.push_back({n * step, QString::number(n * step, 'f', decimals)});
    }
    return ticks;
}

}  // namespace buffon
