// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include <unistd.h>

#include <QPainter>
#include <QTemporaryFile>
#include <QTest>
#include <cmath>
#include <numbers>
#include <unordered_map>

#include <numeric>

#include "experiment/needle_run.h"
#include "stats/batch_summary.h"
#include "stats/rules/needle_rule.h"
#include "stats/run_seed.h"
#include "stats/tool/inference/confidence.h"
#include "stats/tool/pictures/histogram_plot.h"
#include "stats/tool/pictures/intervals_plot.h"
#include "stats/tool/pictures/plot_file.h"
#include "stats/tool/pictures/space_plot.h"
#include "stats/tool/pictures/trace_plot.h"
#include "stats/tool/progress_bar.h"
#include "stats/trace.h"

Q_DECLARE_METATYPE(buffon::GeometricRule)
Q_DECLARE_METATYPE(std::vector<buffon::Tick>)

using namespace buffon;

namespace {

// A plot painted as its PNG file would show it.
template <typename Plot>
QImage pictureOf(const Plot& plot)
{
    QImage image(kPlotWidth, kPlotHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    plot.paint(painter, QStringLiteral("a plot"));
    return image;
}

}  // namespace

class StatsTest : public QObject {
    Q_OBJECT

private slots:
    void exactRateOfTheRule()
    {
        // Closed form: each of the five one-unit line bands is met from a start band of height
        // 1 + |drop|, averaged over the angle, less what the last band loses where a needle
        // starting below y = 439 would reach past the starts' range.
        const double span = 6.28318526;
        const double meanAbsDrop = 40 * (3 + std::cos(span)) / span;
        const double lost =
            (2 * std::sqrt(79.0) - 39 * (std::numbers::pi - 2 * std::asin(39.0 / 40))) / span;
        QCOMPARE_LT(std::abs(WindowRule().exactRate() - (5 * (1 + meanAbsDrop) - lost) / 400),
                    1e-9);
    }

    void summaryOfAFewRunsByHand()
    {
        // Two runs of 100 needles with 40 and 50 hits, a deduction of 10, a rate of one half.
        const BatchSummary two = summarise({{40, 1}, {50, 1}}, 100, 10, 0.5, 1.0, standardScore());
        QCOMPARE(two.hitFraction, 0.45);
        QCOMPARE_LT(std::abs(two.interval.low - 0.3826407), 1e-7);  // Wilson, 95%
        QCOMPARE_LT(std::abs(two.interval.high - 0.5192438), 1e-7);
        QCOMPARE(*two.withoutDeduction.mean, 2.25);
        QCOMPARE_LT(std::abs(*two.withoutDeduction.sd - 0.3535534), 1e-7);
        QCOMPARE_LT(std::abs(*two.withDeduction.mean - 2.9166667), 1e-7);
        QCOMPARE_LT(std::abs(*two.withDeduction.sd - 0.5892557), 1e-7);
        QCOMPARE(*two.withDeduction.expectedMean, 100.0 / 40 * (1 + 25.0 / 1600));
        QCOMPARE(*two.withDeduction.expectedSd, 100.0 * 5 / 1600);
        // A third run whose count is 0 has no estimate; with one estimate there is no SD.
        const BatchSummary three =
            summarise({{10, 1}, {40, 1}, {50, 1}}, 100, 10, 0.5, 1.0, standardScore());
        QCOMPARE(three.withDeduction.noEstimate, 1);
        QCOMPARE(three.withDeduction.estimates, 2);
        QVERIFY(!summarise({{40, 1}}, 100, 0, 0.5, 1.0, standardScore()).withoutDeduction.sd);
        QVERIFY(!summarise({{40, 1}}, 4, 0, 0.5, 1.0, standardScore())
                     .withoutDeduction.expectedMean);  // count near 0
        QVERIFY(!summarise({{10, 3}}, 100, 10, 0.5, 1.0, standardScore()).withDeduction.mean);
    }

    // Each index gives a different number below the count, for counts shaped as the reseed
    // values' (255 times a power of two) of odd and even widths, and counts just past a power
    // of two, whose walks are longest.
    void shuffleIsABijection()
    {
        for (const std::uint64_t count : {1, 3, 32640, 65280, 65537}) {
            for (const std::uint64_t key : {0u, 1u, kLargestSeed}) {
                const KeyedShuffle shuffle(count, key);
                std::vector<bool> taken(count);
                for (std::uint64_t index = 0; index < count; ++index) {
                    const std::uint64_t value = shuffle(index);
                    QVERIFY(value < count && !taken[value]);
                    taken[value] = true;
                }
            }
        }
    }

    // Twelve groups of a class, given seeds 1 to 12, throw batches of 2,000 runs that share
    // runs only as two random samples of the reseed values would: a pair about R²/2.1e9 times.
    void consecutiveSeedsGiveUnrelatedBatches()
    {
        constexpr int kSeeds = 12;
        constexpr int kRuns = 2000;
        std::unordered_map<std::uint32_t, int> batchesOf;
        int shared = 0;
        for (std::uint32_t seed = 1; seed <= kSeeds; ++seed) {
            for (int run = 0; run < kRuns; ++run) {
                shared += batchesOf[runSeedBits(seed, run)]++;
            }
        }
        const double pairs = kSeeds * (kSeeds - 1) / 2.0;
        const double expected = pairs * kRuns * kRuns / static_cast<double>(kDistinctRuns);
        // The most shared runs a Poisson count of that mean exceeds once in a million.
        int allowed = 0;
        double term = std::exp(-expected);
        for (double below = term; 1 - below > 1e-6; below += term) {
            term *= expected / ++allowed;
        }
        qInfo("%d runs shared among %.0f pairs of batches; chance alone gives %.4f, at most %d",
              shared, pairs, expected, allowed);
        QCOMPARE_LE(shared, allowed);
    }

    void geometricRateIsAProbability_data()
    {
        QTest::addColumn<double>("length");
        QTest::addColumn<double>("spacing");
        QTest::addColumn<double>("rate");
        // Beside the closed forms: 1 - x/pi - x^3/(12 pi) for x = D/L small, to the last digit.
        QTest::newRow("the window's needle") << 40.0 << 80.0 << 1 / std::numbers::pi;
        QTest::newRow("as long as the spacing") << 80.0 << 80.0 << 2 / std::numbers::pi;
        QTest::newRow("longer") << 120.0 << 80.0 << 0.7786080607366551;
        QTest::newRow("a hundred million times") << 1e8 << 1.0 << 1 - 1e-8 / std::numbers::pi;
        QTest::newRow("beyond any double ratio") << 1e308 << 1e-290 << 1.0;
        QTest::newRow("the largest both") << 1e308 << 1e308 << 2 / std::numbers::pi;
    }

    void geometricRateIsAProbability()
    {
        QFETCH(double, length);
        QFETCH(double, spacing);
        QFETCH(double, rate);
        const GeometricRule rule{length, spacing};
        QCOMPARE_LE(rule.exactRate(), 1.0);
        QCOMPARE_LT(std::abs(rule.exactRate() - rate), 3e-16);
        QVERIFY(rule.refusal().empty());
        if (rule.estimateFactor()) {
            QCOMPARE(*rule.estimateFactor() / rule.exactRate(), std::numbers::pi);
        }
        // A needle that would not hit once in the longest run is refused before it is thrown.
        QVERIFY(!(GeometricRule{1e-12 * spacing, spacing}.refusal().empty()));
    }

    void geometricRule_data()
    {
        QTest::addColumn<GeometricRule>("rule");
        QTest::addColumn<std::uint32_t>("seed");
        QTest::newRow("shorter than the spacing") << GeometricRule{40, 80} << 0u;
        QTest::newRow("a little shorter") << GeometricRule{76, 80} << 7u;
        QTest::newRow("a little longer") << GeometricRule{84, 80} << 2024u;
        QTest::newRow("longer than the spacing") << GeometricRule{120, 80} << kLargestSeed;
    }

    void geometricRule()
    {
        QFETCH(GeometricRule, rule);
        QFETCH(std::uint32_t, seed);
        const std::int64_t hits =
            GeometricNeedles(seed, rule.length, rule.spacing).countHits(10'000'000);
        QVERIFY(wilsonInterval(hits, 1e7, standardScore()).holds(rule.exactRate()));
        QVERIFY(!wilsonInterval(hits, 1e7, standardScore()).holds(WindowRule().exactRate()));
    }

    void histogramShowsEachRunInItsBin()
    {
        // Five bins a sixteenth wide from 2.96875: one run, one, none, two, one.
        const Tally estimates[] = {{3.0, 1}, {3.05, 1}, {3.2, 2}, {3.25, 1}};
        const HistogramPlot plot(estimates, 3.125);
        QCOMPARE(plot.counts(), (std::vector<std::int64_t>{1, 1, 0, 2, 1}));
        QCOMPARE(plot.binStart(), 2.96875);
        // Ticks every 0.02, each labelled to a hundredth.
        const std::vector<Tick> ticks = plot.valueTicks();
        QCOMPARE_GE(ticks.size(), 12u);
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            QCOMPARE(ticks[i].text, QString::number(ticks.front().value + 0.02 * i, 'f', 2));
        }
        QVERIFY(ticks.front().value < 3.01 && ticks.back().value > 3.24);
        QCOMPARE(plot.countTicks().back().text, "2");
        // Round steps: 1, 2 or 5 times a power of ten, the next power when 5 falls short.
        QCOMPARE((std::vector{tickStep(1, 5), tickStep(2, 5), tickStep(0.4, 5), tickStep(60, 10)}),
                 (std::vector{0.2, 0.5, 0.1, 10.0}));
        // A run axis up to five shows each run.
        const Tally five[] = {{3.0, 5}, {3.2, 1}};
        QCOMPARE(HistogramPlot(five, 3.03).countTicks().size(), 6u);
        const Tally one[] = {{3.0, 1}};  // a single run still gets narrow bars about its value
        QCOMPARE_LT(HistogramPlot(one, 3.0).binWidth(), 0.001);
    }

    void tickLabelsKeepOneStyleAlongAnAxis_data()
    {
        QTest::addColumn<std::vector<Tick>>("ticks");
        QTest::addColumn<QString>("labels");
        QTest::newRow("estimates") << ticksOf(2.79, 3.2, 0.1) << "2.8 2.9 3.0 3.1 3.2";
        QTest::newRow("heights below the line") << ticksOf(-41, 40, 20) << "-40 -20 0 20 40";
        QTest::newRow("counts in groups of three")
            << ticksOf(0, 2000, 500) << "0 500 1,000 1,500 2,000";
        QTest::newRow("a million on the axis: powers of ten throughout")
            << ticksOf(0, 2.5e6, 5e5) << "0 5×10^5 10^6 1.5×10^6 2×10^6 2.5×10^6";
        QTest::newRow("the widest spacing")
            << ticksOf(0, 5e299, 1e299) << "0 10^299 2×10^299 3×10^299 4×10^299 5×10^299";
        QTest::newRow("the narrowest") << ticksOf(0, 5e-281, 2e-281) << "0 2×10^-281 4×10^-281";
        QTest::newRow("a thousandth") << ticksOf(0, 0.001, 0.0005) << "0 5×10^-4 10^-3";
        QTest::newRow("labels apart along an axis") << ticksAlong(0, 1e10, 20, 830, plotFont(14))
                                                    << "0 10^9 2×10^9 3×10^9 4×10^9 5×10^9 "
                                                       "6×10^9 7×10^9 8×10^9 9×10^9 10^10";
        QTest::newRow("estimates, as many as stand apart")
            << ticksAlong(2.8, 3.1, 20, 830, plotFont(14))
            << "2.80 2.82 2.84 2.86 2.88 2.90 2.92 "
               "2.94 2.96 2.98 3.00 3.02 3.04 3.06 "
               "3.08 3.10";
    }

    void tickLabelsKeepOneStyleAlongAnAxis()
    {
        QFETCH(std::vector<Tick>, ticks);
        QFETCH(QString, labels);
        QStringList read;
        for (const Tick& tick : ticks) {
            read << tick.text + (tick.power.isEmpty() ? QString() : '^' + tick.power);
        }
        QCOMPARE(read.join(' '), labels);
    }

    void spaceOfExtremeSpacingsKeepsItsLabelsInThePicture_data()
    {
        QTest::addColumn<double>("spacing");
        QTest::newRow("the widest") << 1e300;
        QTest::newRow("the narrowest") << 1e-280;
    }

    void spaceOfExtremeSpacingsKeepsItsLabelsInThePicture()
    {
        QFETCH(double, spacing);
        const NeedleRule rule = GeometricRule{spacing / 2, spacing};
        const QImage image = pictureOf(SpacePlot(rule, firstThrows(rule, 5, 10)));
        // Nothing runs off the left edge; the height axis's name stands clear of its labels.
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < 6; ++x) {
                QCOMPARE(image.pixel(x, y), qRgb(255, 255, 255));
            }
            for (int x = 28; x < 34; ++x) {
                QCOMPARE(image.pixel(x, y), qRgb(255, 255, 255));
            }
        }
    }

    void histogramOnAFixedAxisCountsWhatLiesBeyond()
    {
        const ValueRange range{2.8, 3.4};
        const Tally estimates[] = {{2.5, 3}, {2.9, 5}, {3.0, 7}, {3.13, 4}, {3.6, 2}};
        const HistogramPlot plot(estimates, 3.0, kPlotSize, range);
        QCOMPARE((std::vector{plot.below(), plot.above()}), (std::vector<std::int64_t>{3, 2}));
        QCOMPARE(std::accumulate(plot.counts().begin(), plot.counts().end(), std::int64_t{0}), 16);
        QCOMPARE(plot.valueTicks().front().text + ' ' + plot.valueTicks().back().text, "2.80 3.40");
        // Another batch of as many runs, as widely spread, has its bars on the same edges.
        const Tally shifted[] = {{2.57, 3}, {2.97, 5}, {3.07, 7}, {3.2, 4}, {3.67, 2}};
        const HistogramPlot other(shifted, 3.1, kPlotSize, range);
        QCOMPARE((std::vector{other.binStart(), other.binWidth()}),
                 (std::vector{plot.binStart(), plot.binWidth()}));
        QCOMPARE(plot.binStart(), 2.8);
        // The runs beyond are marked at the edges they lie beyond.
        const QImage image = pictureOf(plot);
        const auto marked = [&](int left) {
            int found = 0;
            for (int y = 100; y < 124; ++y) {
                for (int x = left; x < left + 12; ++x) {
                    found += image.pixel(x, y) == HistogramPlot::kBarEdgeColour;
                }
            }
            return found;
        };
        QCOMPARE_GT(marked(plot.columnOf(2.8)), 20);
        QCOMPARE_GT(marked(plot.columnOf(3.4) - 11), 20);
        // With every run beyond, the runs' axis still reads up to one.
        QCOMPARE(
            HistogramPlot(estimates, 3.0, kPlotSize, ValueRange{9, 9.5}).countTicks().back().text,
            "1");
    }

    void intervalsOnAFixedAxisPointPastItsEdges()
    {
        const IntervalsPlot plot({{Interval{2.5, 3.0}, 2.75},
                                  {Interval{3.0, 3.3}, 3.15},
                                  {Interval{3.2, INFINITY}, 3.5}},
                                 kPlotSize, ValueRange{2.8, 3.4});
        const QImage image = pictureOf(plot);
        const int left = plot.columnOf(2.8);
        const int right = plot.columnOf(3.4);
        const QRgb miss = IntervalsPlot::kMissColour;
        const QRgb white = qRgb(255, 255, 255);
        // An estimate beyond the axis is not drawn at its edge as if it were there.
        QCOMPARE(
            (std::vector{image.pixel(left - 4, plot.rowOf(0)), image.pixel(left - 4, plot.rowOf(1)),
                         image.pixel(right + 4, plot.rowOf(1)),
                         image.pixel(right + 4, plot.rowOf(2)), image.pixel(left, plot.rowOf(0)),
                         image.pixel(plot.columnOf(3.15), plot.rowOf(1))}),
            (std::vector{miss, white, white, miss, miss, qRgb(0, 0, 0)}));
    }

    void traceMarksWhatLiesBeyondItsAxis()
    {
        std::atomic<std::int64_t> thrown{0};
        const NeedleRule window;
        const std::vector<TracePoint> trace = traceRun(window, 100'000, 9, thrown);
        const TracePlot plot(window, trace, standardScore(), kPlotSize, ValueRange{3.0, 3.05});
        const QImage image = pictureOf(plot);
        const auto along = [&](int row) {
            int found = 0;
            for (int x = plot.columnOf(1); x <= plot.columnOf(100'000); ++x) {
                found += image.pixel(x, row) == TracePlot::kRunColour;
            }
            return found;
        };
        // No stretch of the edges drawn as if the run stood there; marks just inside them.
        const int top = plot.rowOf(3.05);
        const int bottom = plot.rowOf(3.0);
        QCOMPARE_LT(along(top) + along(bottom), 40);
        QCOMPARE_GT(along(top + 6) + along(bottom - 6), 40);
        // No estimate below 0, even where the band is wide.
        const NeedleRule rare = GeometricRule{1, 80};
        QCOMPARE(TracePlot(rare, traceRun(rare, 1000, 9, thrown), standardScore()).low(), 0.0);
    }

    void progressBarFollowsTheWork()
    {
        QTemporaryFile file;
        QVERIFY(file.open());
        FILE* terminal = fdopen(dup(file.handle()), "w");
        const std::atomic<std::int64_t> done{30};
        {
            const ProgressBar bar(done, 120, terminal);
            QTest::qSleep(300);
        }
        QVERIFY(!ProgressBar::wanted(terminal, 1'000'000'000));  // a file is no terminal
        std::fclose(terminal);
        file.seek(0);
        const QByteArray drawn = file.readAll();
        QVERIFY2(drawn.startsWith("\r[##########..............................]  25%\r"), drawn);
    }
};

QTEST_MAIN(StatsTest)
#include "tst_stats.moc"
