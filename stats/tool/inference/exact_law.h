// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "stats/batch_run.h"

namespace buffon {

// The law of one run's hits: each of its needles hits on its own with the rule's exact rate, so
// the hits follow the binomial law of `needles` trials at that rate, and so, through the
// deduction, does every estimate a run can show. Its probabilities are Boost.Math's.
class HitLaw {
public:
    HitLaw(std::int64_t needles, double rate);

    std::int64_t needles() const { return needles_; }
    double rate() const { return rate_; }

    // The counts of hits outside which the law holds less than 1e-20 on either side: every count
    // a batch can show in practice lies between them, and each has its probability here.
    std::int64_t lowest() const { return lowest_; }
    std::int64_t highest() const { return lowest_ + std::int64_t(probabilities_.size()) - 1; }
    double probability(std::int64_t hits) const;
    // The probability of fewer hits than lowest(), and of more than highest().
    double belowLowest() const { return below_; }
    double aboveHighest() const { return above_; }

private:
    std::int64_t needles_;
    double rate_;
    std::int64_t lowest_ = 0;
    std::vector<double> probabilities_;
    double below_ = 0;
    double above_ = 0;
};

// Pearson's chi-square test of a batch's hits against the law: neighbouring counts are merged
// until each group expects at least five runs, and the groups less one are the degrees of
// freedom, since the law's rate is known and not estimated from the runs.
struct LawFit {
    double chiSquare = 0;
    int degreesOfFreedom = 0;
    double pValue = 0;
};

// None for a batch too small to make two such groups.
std::optional<LawFit> fitToLaw(const HitTally& tally, const HitLaw& law);

// The runs each bar of a histogram of estimates should hold under the law: `runs` times the
// probability of the counts whose estimate falls in the bar. `barOf` gives a count's bar, or
// none for a count whose estimate is drawn in no bar.
template <typename BarOf>
std::vector<double> expectedRuns(const HitLaw& law, std::int64_t runs, std::size_t bars,
                                 BarOf&& barOf)
{
    std::vector<double> expected(bars, 0.0);
    for (std::int64_t hits = law.lowest(); hits <= law.highest(); ++hits) {
        if (const std::optional<std::size_t> bar = barOf(hits)) {
            expected[*bar] += static_cast<double>(runs) * law.probability(hits);
        }
    }
    return expected;
}

}  // namespace buffon
