// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/inference/confidence.h"

#include <boost/math/distributions/normal.hpp>

namespace buffon {

double standardScore(double level)
{
    return boost::math::quantile(boost::math::normal(), (1 + level) / 2);
}

}  // namespace buffon
