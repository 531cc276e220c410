// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include <QTest>
#include <QTime>
#include <algorithm>
#include <cmath>
#include <vector>

#include "experiment/experiment_run.h"
#include "experiment/local_clock.h"
#include "experiment/needle.h"
#include "experiment/number_text.h"
#include "experiment/pixel_board.h"
#include "experiment/run_size.h"

using namespace buffon;

namespace {

constexpr float kLargestDraw = 1.0f - 0x1p-24f;

// Hands out the given draws in turn and counts them.
struct ScriptedDraws {
    std::vector<float> draws;
    std::size_t taken = 0;
    float nextValue() { return draws.at(taken++); }
};

// The world of a run: a pixel board that counts what is drawn on it, a cue and a clock.
struct RunWorld final : Board, CuePlayer, Clock {
    void clear() override
    {
        ++changes;
        pixels.clear();
    }
    void drawSegment(float x1, float y1, float x2, float y2, PaletteIndex colour) override
    {
        ++changes;
        blue += colour == PaletteIndex::LightBlue;
        pixels.drawSegment(x1, y1, x2, y2, colour);
    }
    void play(const std::string& name) override
    {
        cues.push_back(name + " after " + std::to_string(changes) + " changes");
    }
    float secondsSinceMidnight() override { return seconds; }

    struct Label final : Caption {
        void setText(const std::string& value) override { text = value; }
        std::string text = "earlier";
    };

    PixelBoard pixels;
    int changes = 0;
    int blue = 0;
    std::vector<std::string> cues;
    float seconds = 45296.25f;
    UniformRandomSource random;
    Label estimate;
    Label count;
    RunContext context{*this, *this, random, *this, estimate, count, ","};
};

}  // namespace

class ExperimentTest : public QObject {
    Q_OBJECT

private slots:
    void hitRuleIsTheBandRule()
    {
        // Every pair of heights a needle can produce: a hit exactly when a line lies between them
        // or on either; the board's edges at 0 and 480 are no lines.
        for (int start = 40; start <= 439; ++start) {
            for (int end = start - 40; end <= start + 40; ++end) {
                bool expected = false;
                for (int line = 80; line <= 400; line += 80) {
                    expected =
                        expected || (std::min(start, end) <= line && line <= std::max(start, end));
                }
                if ((classifyNeedle(float(start), double(end)) == Outcome::Hit) != expected) {
                    QFAIL(qPrintable(QStringLiteral("start %1, end %2").arg(start).arg(end)));
                }
            }
        }
    }

    void throwReadsItsFourDrawsInOrder_data()
    {
        // x from the first draw, y from the second, the across offset from the third draw's angle
        // and the down offset from the fourth's; then whole units.
        QTest::addColumn<QList<float>>("draws");
        QTest::addColumn<QList<double>>("pixels");
        QTest::addColumn<bool>("hit");
        QTest::newRow("an eighth turn across, flat on line 240")
            << QList<float>{0.25f, 0.5f, 0.125f, 0.0f} << QList<double>{140, 240, 168, 240} << true;
        QTest::newRow("an eighth turn down, across line 160")
            << QList<float>{0.5f, 0.25f, 0.0f, 0.125f} << QList<double>{240, 140, 280, 168} << true;
        QTest::newRow("a quarter turn up, across line 160")
            << QList<float>{0.5f, 0.35f, 0.0f, 0.75f} << QList<double>{240, 180, 280, 140} << true;
        QTest::newRow("between two lines")
            << QList<float>{0.0f, 0.2f, 0.5f, 0.0f} << QList<double>{40, 120, 0, 120} << false;
        QTest::newRow("largest draws") << QList<float>{kLargestDraw, kLargestDraw, 0.0f, 0.05f}
                                       << QList<double>{439, 439, 479, 452} << false;
    }

    void throwReadsItsFourDrawsInOrder()
    {
        QFETCH(QList<float>, draws);
        QFETCH(QList<double>, pixels);
        QFETCH(bool, hit);
        ScriptedDraws random{{draws.begin(), draws.end()}};
        const Needle needle = throwNeedle(random);
        QCOMPARE(random.taken, 4u);
        QCOMPARE((QList<double>{needle.startPixelX, needle.startPixelY, needle.endPixelX,
                                needle.endPixelY}),
                 pixels);
        QCOMPARE(needle.outcome == Outcome::Hit, hit);
        // Counting without drawing reads the second and fourth draws to the same outcome.
        QCOMPARE(verticalOutcome(draws[1], draws[3]), needle.outcome);
    }

    void clockReadsTheTimeOfDay()
    {
        const double seconds = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
        const double read = LocalClock().secondsSinceMidnight();
        QVERIFY2(std::fmod(std::abs(read - seconds) + 1, 86400) < 2,
                 qPrintable(QString::number(read)));
    }

    void runResults_data()
    {
        QTest::addColumn<int>("needles");
        QTest::addColumn<int>("hits");
        QTest::addColumn<QString>("estimate");
        QTest::addColumn<QString>("count");
        const auto row = [](const char* name, int needles, int hits, const char* estimate,
                            const char* count) {
            QTest::newRow(name) << needles << hits << estimate << count;
        };
        row("10 with 4 hits", 10, 4, "2.5", "4");
        row("10 with 3 hits", 10, 3, "3.33333333333333", "3");
        row("10 with no hit shows no estimate", 10, 0, "", "0");
        row("1,000 loses 10", 1000, 328, "3.14465408805031", "318");
        row("1,000 with the deduction leaving 0", 1000, 10, "", "0");
        row("1,000 below the deduction goes negative", 1000, 5, "-200", "-5");
        row("50,000 loses 700", 50000, 16600, "3.14465408805031", "15900");
        row("50,000 past 32,767", 50000, 40700, "1.25", "40000");
        row("50,000 with no hit", 50000, 0, "-71.4285714285714", "-700");
        row("other counts lose nothing", 777, 250, "3.108", "250");
    }

    void runResults()
    {
        QFETCH(int, needles);
        QFETCH(int, hits);
        QFETCH(QString, estimate);
        QFETCH(QString, count);
        const RunResult result = runResult(needles, deductionFor(needles), hits);
        QCOMPARE(QString::fromStdString(numberText(result.count)), count);
        QCOMPARE(result.estimate ? QString::fromStdString(numberText(*result.estimate)) : QString(),
                 estimate);
    }

    void runShowsWhatItDrew_data()
    {
        QTest::addColumn<int>("size");
        for (int size = 0; size < int(kRunSizes.size()); ++size) {
            QTest::addRow("%d needles", kRunSizes[size].needles) << size;
        }
    }

    void runShowsWhatItDrew()
    {
        QFETCH(int, size);
        const RunSize& run = kRunSizes[size];
        RunWorld world;
        runExperiment(run, world.context);

        QCOMPARE(world.cues, std::vector<std::string>{"pinpon.wav after 0 changes"});
        QCOMPARE(world.changes, 1 + 5 + run.needles);  // one clear, five lines, every needle
        const int count = world.blue - run.deduction;
        QCOMPARE(world.count.text, numberText(std::int64_t{count}));
        QCOMPARE(world.estimate.text,
                 count == 0 ? std::string() : numberText(double(run.needles) / count, ","));

        // The clock seeds the needles: the same time throws the same needles again.
        const std::string first = world.count.text + world.estimate.text;
        world.blue = 0;
        runExperiment(run, world.context);
        QCOMPARE(world.count.text + world.estimate.text, first);
    }
};

QTEST_APPLESS_MAIN(ExperimentTest)
#include "tst_experiment.moc"
