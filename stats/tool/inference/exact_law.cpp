// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/inference/exact_law.h"

#include <algorithm>
#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>

namespace buffon {
namespace {

// Ten standard deviations and ten counts either side of the mean leave less than 1e-20 of the
// law outside, whatever the needles.
constexpr double kReach = 10;

}  // namespace

HitLaw::HitLaw(std::int64_t needles, double rate) : needles_(needles), rate_(rate)
{
    const boost::math::binomial law(static_cast<double>(needles), rate);
    const double mean = static_cast<double>(needles) * rate;
    const double spread = kReach * std::sqrt(mean * (1 - rate)) + kReach;
    lowest_ = std::max<std::int64_t>(0, static_cast<std::int64_t>(std::floor(mean - spread)));
    const auto highest =
        std::min<std::int64_t>(needles, static_cast<std::int64_t>(std::ceil(mean + spread)));
    probabilities_.reserve(static_cast<std::size_t>(highest - lowest_ + 1));
    for (std::int64_t hits = lowest_; hits <= highest; ++hits) {
        probabilities_.push_back(boost::math::pdf(law, static_cast<double>(hits)));
    }
    below_ = lowest_ > 0 ? boost::math::cdf(law, static_cast<double>(lowest_ - 1)) : 0.0;
    above_ = boost::math::cdf(boost::math::complement(law, static_cast<double>(highest)));
}

double HitLaw::probability(std::int64_t hits) const
{
    return hits < lowest() || hits > highest()
               ? 0.0
               : probabilities_[static_cast<std::size_t>(hits - lowest_)];
}

std::optional<LawFit> fitToLaw(const HitTally& tally, const HitLaw& law)
{
    double runs = 0;
    for (const auto& [hits, count] : tally) {
        runs += static_cast<double>(count);
    }
    const auto observed = [&](std::int64_t from, std::int64_t to) {
        double found = 0;
        for (auto at = tally.lower_bound(static_cast<std::int32_t>(
                 std::max<std::int64_t>(from, std::numeric_limits<std::int32_t>::min())));
             at != tally.end() && at->first <= to; ++at) {
            found += static_cast<double>(at->second);
        }
        return found;
    };
    // Groups of neighbouring counts, each expecting at least five runs; the tails of the law
    // join the groups at either end.
    struct Group {
        double expected;
        double observed;
    };
    std::vector<Group> groups;
    Group open{runs * law.belowLowest(), observed(INT32_MIN, law.lowest() - 1)};
    for (std::int64_t hits = law.lowest(); hits <= law.highest(); ++hits) {
        open.expected += runs * law.probability(hits);
        open.observed += observed(hits, hits);
        if (open.expected >= 5 && hits < law.highest()) {
            groups.push_back(open);
            open = {0, 0};
        }
    }
    open.expected += runs * law.aboveHighest();
    open.observed += observed(law.highest() + 1, INT32_MAX);
    if (open.expected < 5 && !groups.empty()) {
        groups.back().expected += open.expected;
        groups.back().observed += open.observed;
    } else {
        groups.push_back(open);
    }
    if (groups.size() < 2) {
        return std::nullopt;
    }
    LawFit fit;
    for (const Group& group : groups) {
        fit.chiSquare +=
            (group.observed - group.expected) * (group.observed - group.expected) / group.expected;
    }
    fit.degreesOfFreedom = static_cast<int>(groups.size()) - 1;
    fit.pValue = boost::math::cdf(
        boost::math::complement(boost::math::chi_squared(fit.degreesOfFreedom), fit.chiSquare));
    return fit;
}

}  // namespace buffon
