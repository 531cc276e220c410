// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The bulk counters: every kernel counts what the needles thrown one by one count, near whole
// units and over the longest run a batch can ask for too, 2,147,483,647 needles, and the sines
// the lanes use keep to their proven bounds. A run shared out among threads counts as one.

#include <QTest>
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <utility>

#include "experiment/needle_run.h"
#include "stats/batch_run.h"
#include "stats/rules/geometric/geometric_draws.h"
#include "stats/rules/lanes/lane_kernels.h"
#include "stats/rules/lanes/polynomial_sine.h"
#include "stats/rules/needle_rule.h"
#include "stats/rules/window/window_lanes.h"

Q_DECLARE_METATYPE(buffon::CountKernel)
Q_DECLARE_METATYPE(buffon::NeedleRule)

using namespace buffon;

namespace {

constexpr std::array<std::pair<CountKernel, const char*>, 3> kKernels{{
    {CountKernel::Scalar, "scalar"},
    {CountKernel::Avx2, "AVX2"},
    {CountKernel::Avx512, "AVX-512"},
}};

// Lanes of one plain number, for the sines as the vector lanes work them out.
template <typename Real>
struct PlainLanes {
    using Floats = Real;
    static Real all(Real value) { return value; }
    static Real times(Real a, Real b) { return a * b; }
    static Real fusedMultiplyAdd(Real a, Real b, Real c) { return std::fma(a, b, c); }
};

// A generator state whose draw is `bits` 2^-24: its xorshifted bits 35 to 58 are the draw's
// 24 bits, and its rotation is 0.
std::uint64_t stateDrawing(std::uint64_t bits)
{
    const std::uint64_t mixed = bits << 35u;
    return mixed ^ (mixed >> 18u) ^ (mixed >> 36u) ^ (mixed >> 54u);
}

}  // namespace

class CountersTest : public QObject {
    Q_OBJECT

private slots:
    void kernelsCountTheNeedlesOneByOne_data()
    {
        QTest::addColumn<CountKernel>("kernel");
        QTest::addColumn<int>("needles");
        QTest::addColumn<std::uint32_t>("seed");
        for (const auto& [kernel, name] : kKernels) {
            for (const int needles : {0, 1, 2, 15, 16, 17, 50000}) {
                for (const std::uint32_t seed : {0u, 1u, 0x4730d140u}) {
                    QTest::addRow("%s, %d needles from %x", name, needles, seed)
                        << kernel << needles << seed;
                }
            }
        }
    }

    void kernelsCountTheNeedlesOneByOne()
    {
        QFETCH(CountKernel, kernel);
        QFETCH(int, needles);
        QFETCH(std::uint32_t, seed);
        if (!kernelRunsHere(kernel)) {
            QSKIP("not on this processor");
        }
        // The window's loop, which throws every whole needle to draw it, and leaves its source
        // where the count must leave its own.
        UniformRandomSource window(std::bit_cast<float>(seed));
        UniformRandomSource bulk(std::bit_cast<float>(seed));
        QCOMPARE(countHits(bulk, needles, kernel),
                 throwNeedles(window, needles, [](const Needle&) {}));
        QCOMPARE(bulk.nextValue(), window.nextValue());
        // The textbook's needles one by one, and the needle after the count's.
        for (const GeometricRule rule : {GeometricRule{40, 80}, GeometricRule{120, 80}}) {
            GeometricNeedles alone = rule.stream(seed);
            GeometricNeedles bulkNeedles = rule.stream(seed);
            std::int64_t hits = 0;
            for (int i = 0; i < needles; ++i) {
                hits += alone.next().hit;
            }
            QCOMPARE(bulkNeedles.countHits(needles, kernel), hits);
            const Throw next = bulkNeedles.next();
            QCOMPARE(next.height, alone.next().height);
        }
    }

    void lanesAreExactNearWholeUnits_data()
    {
        QTest::addColumn<CountKernel>("kernel");
        for (const auto& [kernel, name] : kKernels) {
            if (kernel != CountKernel::Scalar) {
                QTest::newRow(name) << kernel;
            }
        }
    }

    void lanesAreExactNearWholeUnits()
    {
        QFETCH(CountKernel, kernel);
        if (!kernelRunsHere(kernel)) {
            QSKIP("not on this processor");
        }
        // Draws times 2^24 of needles that end on, or within 1e-14 or 1e-6 of, whole units and
        // lines: start heights of 40, 160, 240, 280, 281, 360, 361, 400 and 401, and sines of 0
        // or within ulps of 1 or -1, where the lanes' sine cannot tell the floor apart.
        constexpr std::uint64_t kDown = 0x400000;
        constexpr std::uint64_t kUp = 0xc00000;
        constexpr std::array<std::uint64_t, 16> kStarts{
            0,        0,        0x999999, 0xcccccd, 0x9a3d70, 0xcd70a4, 0x800000, 0xe66666,
            0xe70a3d, 0x4ccccd, 0x999999, 0xcd70a4, 0x4d70a4, 0xe66666, 0x4ccccd, 0xffffff};
        constexpr std::array<std::uint64_t, 16> kAngles{
            kDown, kUp, kDown, kDown, kUp, kUp, 0, 0, 0, 0x800000, kUp, kDown, kUp, kUp, 0, kDown};
        const bool avx512 = kernel == CountKernel::Avx512;
        const std::size_t width = avx512 ? kAvx512Block : kAvx2Block;
        for (std::size_t first = 0; first < kStarts.size(); first += width) {
            WindowLanes lanes;
            std::int64_t hits = 0;
            for (std::size_t lane = 0; lane < width; ++lane) {
                const std::uint64_t startY = kStarts[first + lane];
                const std::uint64_t angle = kAngles[first + lane];
                lanes.startYStates[lane] = stateDrawing(startY);
                lanes.angleStates[lane] = stateDrawing(angle);
                hits += verticalOutcome(startY * 0x1p-24f, angle * 0x1p-24f) == Outcome::Hit;
            }
            QCOMPARE(avx512 ? countWindowAvx512(lanes, 1) : countWindowAvx2(lanes, 1), hits);
        }
    }

    void lanesJudgeAgainWhatTheirSineCannotTell_data()
    {
        QTest::addColumn<CountKernel>("kernel");
        QTest::addColumn<std::uint32_t>("seed");
        for (const auto& [kernel, name] : kKernels) {
            for (const std::uint32_t seed : {1u, 7u, 2024u}) {
                if (kernel != CountKernel::Scalar) {
                    QTest::addRow("%s, from %u", name, seed) << kernel << seed;
                }
            }
        }
    }

    void lanesJudgeAgainWhatTheirSineCannotTell()
    {
        QFETCH(CountKernel, kernel);
        QFETCH(std::uint32_t, seed);
        if (!kernelRunsHere(kernel)) {
            QSKIP("not on this processor");
        }
        // A needle hundreds of units long, whose first needle's distance lies halfway between
        // its reach by the lanes' sine and by std::sin, hundreds of ulps from each: only a
        // margin that grows with the needle sends it to be judged again.
        constexpr double kHalfSpacing = 1000;
        const std::uint64_t state = mix(seed + kGamma);
        const double distance = uniformOf(mix(state + kGamma)) * kHalfSpacing;
        const double angle = uniformOf(mix(state + 2 * kGamma)) * kHalfPi;
        using Sine = LaneSine<PlainLanes<double>, double, kSineCoefficients.size()>;
        const double halfLength =
            2 * distance / (Sine(kSineCoefficients, 1).timesPlus(angle, 0) + std::sin(angle));
        QVERIFY((distance <= Sine(kSineCoefficients, halfLength).timesPlus(angle, 0)) !=
                isHit(distance, angle, halfLength));
        GeometricNeedles alone(seed, 2 * halfLength, 2 * kHalfSpacing);
        GeometricNeedles lanes(seed, 2 * halfLength, 2 * kHalfSpacing);
        std::int64_t hits = 0;
        for (int i = 0; i < kAvx512Block; ++i) {
            hits += alone.next().hit;
        }
        QCOMPARE(lanes.countHits(kAvx512Block, kernel), hits);
    }

    void runSharedOutCountsAsOnOneThread_data()
    {
        QTest::addColumn<NeedleRule>("rule");
        QTest::addColumn<int>("needles");
        const std::array<std::pair<NeedleRule, const char*>, 2> rules{{
            {WindowRule(), "window"},
            {GeometricRule{120, 80}, "geometric"},
        }};
        for (const auto& [rule, name] : rules) {
            for (const int needles : {1, 17, 196'609, 1'000'003}) {
                QTest::addRow("%s, %d needles", name, needles) << rule << needles;
            }
        }
    }

    void runSharedOutCountsAsOnOneThread()
    {
        QFETCH(NeedleRule, rule);
        QFETCH(int, needles);
        // One run or two on more threads: each run's needles are shared out among them.
        for (const std::int64_t runs : {1, 2}) {
            std::vector<std::int32_t> alone;
            for (const int threads : {1, 2, 3}) {
                std::atomic<std::int64_t> thrown{0};
                std::vector<std::int32_t> hits;
                runBatch({needles, runs, 2024, threads, rule, {}}, thrown,
                         [&](std::span<const std::int32_t> block, std::int64_t) {
                             hits.assign(block.begin(), block.end());
                             return true;
                         });
                QCOMPARE(thrown.load(), runs * needles);
                if (threads == 1) {
                    alone = hits;
                }
                QCOMPARE(hits, alone);
            }
        }
    }

    void countsAgreeOverTheLongestRun_data()
    {
        QTest::addColumn<NeedleRule>("rule");
        QTest::newRow("window") << NeedleRule(WindowRule());
        QTest::newRow("geometric") << NeedleRule(GeometricRule());
    }

    void countsAgreeOverTheLongestRun()
    {
        QFETCH(NeedleRule, rule);
        if (qEnvironmentVariableIsEmpty("LONGEST_RUN")) {
            QSKIP("a minute's work: the test tst_counters_longest_run");
        }
        // The fastest kernel counts the whole run at once; every kernel counts pieces of it in
        // turn, the one-by-one count a few needles at a time between long pieces, so that each
        // starts anywhere in a block and the pieces together cover the run.
        constexpr std::int64_t kRun = 2'147'483'647;
        std::visit(
            [](const auto& r) {
                auto whole = r.stream(0x4730d140u);
                auto pieces = r.stream(0x4730d140u);
                std::int64_t hits = 0;
                std::int64_t piece = 0;
                for (std::int64_t done = 0; done < kRun; ++piece) {
                    const CountKernel kernel = kKernels[piece % kKernels.size()].first;
                    const std::int64_t length =
                        std::min(kernel == CountKernel::Scalar ? 3 + piece : 123'456'789 + piece,
                                 kRun - done);
                    hits += pieces.countHits(length, kernel);
                    done += length;
                }
                QCOMPARE(whole.countHits(kRun), hits);
            },
            rule);
    }

    void sineKeepsToItsBound_data()
    {
        QTest::addColumn<double>("scale");
        QTest::newRow("as it is") << 1.0;
        QTest::newRow("the shortest needle") << 5e-291;
        QTest::newRow("the longest needle") << 5e307;
    }

    void sineKeepsToItsBound()
    {
        QFETCH(double, scale);
        const LaneSine<PlainLanes<double>, double, kSineCoefficients.size()> sine(kSineCoefficients,
                                                                                  scale);
        const auto error = [&](double x) {
            return std::abs(sine.timesPlus(x, 0) / scale - std::sin(static_cast<long double>(x)));
        };
        // The domain's ends and the right angle, then a grid across the domain finer than the
        // error curve's swings.
        long double worst = 0;
        for (const double x : {kSineDomain, std::numbers::pi / 2, 0.0}) {
            worst = std::max({worst, error(x), error(-x), error(std::nextafter(x, 0.0))});
        }
        constexpr int kSteps = 500'000;
        for (int i = -kSteps; i <= kSteps; ++i) {
            worst = std::max(worst, error(kSineDomain * i / kSteps));
        }
        qInfo("worst error %.6Lg against a bound of %g", worst, kSineError);
        QCOMPARE_LE(worst, kSineError);
        // The grid finds the polynomial's own swings, so it is fine enough to hold it to them.
        QCOMPARE_GT(worst, 3.3e-9);
    }

    void windowSineKeepsToItsBoundForEveryDraw()
    {
        // Every angle draw the window can make, through the lanes' own float operations.
        const LaneSine<PlainLanes<float>, float, kWindowSineCoefficients.size()> sine(
            kWindowSineCoefficients, 1.0f);
        double worst = 0;
        for (std::uint32_t draw = 0; draw < 1u << 24; ++draw) {
            const float reach = sine.timesPlus(windowTurn<PlainLanes<float>>(draw), 0.0f);
            const double exact = kNeedleReach * std::sin(angleOf(draw * 0x1p-24f));
            worst = std::max(worst, std::abs(reach - exact));
        }
        qInfo("worst error %.6g against a bound of %g", worst, double{kWindowSineError});
        QCOMPARE_LE(worst, kWindowSineError);
    }
};

QTEST_MAIN(CountersTest)
#include "tst_counters.moc"
