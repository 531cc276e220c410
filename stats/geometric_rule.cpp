// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/geometric_rule.h"

#include <cmath>
#include <numbers>

namespace buffon {

double exactRate(const GeometricRule& rule)
{
    const double ratio = rule.length / rule.spacing;
    if (ratio <= 1) {
        return 2 * ratio * std::numbers::inv_pi;
    }
    // Both branches give 2/pi at L = D, so a needle's rate does not jump there.
    const double inverse = 1 / ratio;
    return 2 * std::numbers::inv_pi *
           (std::acos(inverse) + ratio * (1 - std::sqrt(1 - inverse * inverse)));
}

}  // namespace buffon
