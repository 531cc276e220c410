// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The longest run a batch can ask for, 2,147,483,647 needles, counted whole by the fastest
// kernel and in pieces by every kernel in turn: a test of its own, for the minute it takes.

#include <QTest>
#include <algorithm>
#include <array>

#include "stats/rules/needle_rule.h"

Q_DECLARE_METATYPE(buffon::NeedleRule)

using namespace buffon;

namespace {

constexpr std::array kKernels{CountKernel::Scalar, CountKernel::Avx2, CountKernel::Avx512};

}  // namespace

class LongestRunTest : public QObject {
    Q_OBJECT

private slots:
    void countsAgreeOverTheLongestRun_data()
    {
        QTest::addColumn<NeedleRule>("rule");
        QTest::newRow("window") << NeedleRule(WindowRule());
        QTest::newRow("geometric") << NeedleRule(GeometricRule());
    }

    void countsAgreeOverTheLongestRun()
    {
        QFETCH(NeedleRule, rule);
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
                    const CountKernel kernel = kKernels[piece % kKernels.size()];
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
};

QTEST_MAIN(LongestRunTest)
#include "tst_longest_run.moc"
