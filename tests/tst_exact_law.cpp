// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The exact law of a run's hits against runs thrown by the rules themselves, and against runs
// made here with a known bias; the space of throws; the coverage of the runs' own intervals.

#include <QTest>
#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>

#include "stats/batch_summary.h"
#include "stats/run_seed.h"
#include "stats/tool/inference/confidence.h"
#include "stats/tool/inference/inference.h"
#include "stats/tool/pictures/histogram_plot.h"

Q_DECLARE_METATYPE(buffon::NeedleRule)

using namespace buffon;

namespace {

HitTally tallyOf(const BatchPlan& plan)
{
    HitTally tally;
    std::atomic<std::int64_t> thrown{0};
    runBatch(plan, thrown, [&](std::span<const std::int32_t> hits, std::int64_t) {
        for (const std::int32_t h : hits) {
            ++tally[h];
        }
        return true;
    });
    return tally;
}

// The chance that Kolmogorov's statistic of `n` uniform values is at least `d`, by its
// asymptotic series with Stephens's correction for finite n.
double kolmogorovChance(double d, std::size_t n)
{
    const double root = std::sqrt(static_cast<double>(n));
    const double lambda = (root + 0.12 + 0.11 / root) * d;
    double chance = 0;
    for (int k = 1; k < 100; ++k) {
        chance += 2 * (k % 2 == 1 ? 1 : -1) * std::exp(-2.0 * k * k * lambda * lambda);
    }
    return std::clamp(chance, 0.0, 1.0);
}

// The binomial probability of `hits`, from the product of its factors, in extended precision.
long double binomial(int needles, int hits, long double rate)
{
    long double chance = 1;
    for (int i = 0; i < hits; ++i) {
        chance *= static_cast<long double>(needles - i) / (i + 1) * rate;
    }
    return chance * std::pow(1 - rate, static_cast<long double>(needles - hits));
}

}  // namespace

class ExactLawTest : public QObject {
    Q_OBJECT

private slots:
    void runsOfTheRulesFitTheLaw()
    {
        // Two hundred batches of 200 runs, of consecutive seeds: their p-values are uniform, as
        // for any true law and batches that share no runs.
        std::vector<double> chances;
        for (std::uint32_t seed = 0; seed < 200; ++seed) {
            const BatchPlan plan{1000, 200, seed, 2, WindowRule(), {}};
            chances.push_back(fitToLaw(tallyOf(plan), HitLaw(1000, exactRate(plan.rule)))->pValue);
        }
        std::sort(chances.begin(), chances.end());
        double largest = 0;
        for (std::size_t i = 0; i < chances.size(); ++i) {
            const double n = static_cast<double>(chances.size());
            largest = std::max({largest, (i + 1) / n - chances[i], chances[i] - i / n});
        }
        qInfo("Kolmogorov-Smirnov over 200 seeds: D = %.4f, p = %.3f", largest,
              kolmogorovChance(largest, chances.size()));
        QCOMPARE_GT(kolmogorovChance(largest, chances.size()), 0.001);
    }

    void aStreamOnePercentOffFailsTheTest()
    {
        const double rate = WindowRule().exactRate();
        std::mt19937_64 random(42);
        std::binomial_distribution<int> biased(50000, rate * 1.01);
        HitTally tally;
        for (int run = 0; run < 2000; ++run) {
            ++tally[biased(random)];
        }
        const LawFit fit = *fitToLaw(tally, HitLaw(50000, rate));
        QCOMPARE_LT(fit.pValue, 1e-6);
        // The same runs fit the law they were drawn from.
        QCOMPARE_GT(fitToLaw(tally, HitLaw(50000, rate * 1.01))->pValue, 1e-3);
        // Too few runs to make two groups that each expect five: no test at all.
        QVERIFY(!fitToLaw({{16000, 3}}, HitLaw(50000, rate)));
    }

    void eachBarExpectsWhatTheLawGivesIt()
    {
        // Ten needles a run: every estimate there is, and some runs with none.
        const BatchPlan plan{10, 500, 11, 1, WindowRule(), {}};
        const HitTally tally = tallyOf(plan);
        const double rate = exactRate(plan.rule);
        const BatchSummary summary = summarise(tally, plan, standardScore());
        const HistogramPlot plot = HistogramPlot::ofBatch(tally, summary, 1.0, HitLaw(10, rate));
        std::vector<long double> sums(plot.counts().size(), 0);
        for (int hits = 1; hits <= 10; ++hits) {
            const double estimate = 10.0 / hits;
            const auto bin = static_cast<std::size_t>(
                std::floor((estimate - plot.binStart()) / plot.binWidth()));
            if (bin < sums.size()) {
                sums[bin] += 500 * binomial(10, hits, rate);
            }
        }
        QCOMPARE(plot.expected().size(), sums.size());
        // The law keeps every count a run can show, and its probabilities with the tails past
        // its ends make one.
        for (const auto& [needles, first, last] :
             {std::tuple{10, 0, 10}, std::tuple{50000, 15700, 17370}}) {
            const HitLaw law(needles, rate);
            QVERIFY(law.lowest() <= first && law.highest() >= last && law.highest() <= needles);
            long double total = law.belowLowest() + law.aboveHighest();
            for (std::int64_t hits = law.lowest(); hits <= law.highest(); ++hits) {
                total += law.probability(hits);
            }
            QCOMPARE_LT(std::abs(static_cast<double>(total) - 1), 1e-12);
            QCOMPARE(law.probability(law.highest() + 1), 0.0);
        }
        for (std::size_t bin = 0; bin < sums.size(); ++bin) {
            QCOMPARE_LT(std::abs(plot.expected()[bin] - static_cast<double>(sums[bin])), 1e-9);
        }
    }

    void throwsLieWhereTheirRegionSays_data()
    {
        QTest::addColumn<NeedleRule>("rule");
        QTest::newRow("the window's, bands and all") << NeedleRule(WindowRule());
        QTest::newRow("the textbook's") << NeedleRule(GeometricRule());
        QTest::newRow("the textbook's, longer than the spacing")
            << NeedleRule(GeometricRule{120, 80});
    }

    void throwsLieWhereTheirRegionSays()
    {
        QFETCH(NeedleRule, rule);
        constexpr int kThrows = 20000;
        const std::vector<Throw> throws = firstThrows(rule, runSeedBits(5, 0), kThrows);
        const ThrowSpace space = throwSpace(rule);
        int inside = 0;
        for (const Throw& needle : throws) {
            QCOMPARE(hitRegion(rule, needle.angle).holds(needle.height), needle.hit);
            QVERIFY(needle.angle >= 0 && needle.angle < space.angleSpan);
            QVERIFY(needle.height >= space.lowest && needle.height <= space.highest);
            inside += needle.hit;
        }
        // They are the needles run 1 counts.
        const std::int64_t counted = std::visit(
            [](const auto& r) {
                return r.stream(runSeedBits(5, 0)).countHits(kThrows);
            },
            rule);
        QCOMPARE(counted, inside);
        const double rate = exactRate(rule);
        QCOMPARE_LT(std::abs(inside - kThrows * rate), 4 * std::sqrt(kThrows * rate * (1 - rate)));
    }

    void intervalsHoldPiAsOftenAsTheLawSays_data()
    {
        QTest::addColumn<NeedleRule>("rule");
        QTest::addColumn<int>("needles");
        QTest::addColumn<int>("runs");
        QTest::addColumn<double>("about");
        QTest::newRow("the window's at 50,000, about 88%")
            << NeedleRule(WindowRule()) << 50000 << 400 << 0.88;
        QTest::newRow("the window's at a million, never")
            << NeedleRule(WindowRule()) << 1'000'000 << 60 << 0.0;
    }

    void intervalsHoldPiAsOftenAsTheLawSays()
    {
        QFETCH(NeedleRule, rule);
        QFETCH(int, needles);
        QFETCH(int, runs);
        QFETCH(double, about);
        const BatchPlan plan{needles, runs, 2027, 2, rule, {}};
        const Inference inference = inferenceOf(tallyOf(plan), plan);
        const Coverage coverage = *inference.coverage;
        qInfo("coverage %.4f ± %.4f, the exact law %.4f", coverage.share, coverage.margin,
              coverage.predicted);
        QCOMPARE_LT(std::abs(coverage.predicted - about), 0.02);
        const double sd = std::sqrt(coverage.predicted * (1 - coverage.predicted) / runs);
        QCOMPARE_LE(std::abs(coverage.share - coverage.predicted), 4 * sd);
    }
};

QTEST_MAIN(ExactLawTest)
#include "tst_exact_law.moc"
