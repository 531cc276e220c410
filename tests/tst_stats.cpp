#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <cmath>
#include <numbers>

#include "experiment/experiment_run.h"
#include "experiment/number_text.h"
#include "experiment/run_result.h"
#include "stats/batch_run.h"
#include "stats/batch_summary.h"
#include "stats/exact_rate.h"
#include "stats/tool/histogram_plot.h"
#include "stats/tool/progress_bar.h"
#include "stats/tool/stats_options.h"

using namespace buffon;

namespace {

// A window run with nothing to draw on or sound, whose clock reads the given seed.
struct QuietWindowRun final : CuePlayer, Board, Clock {
    struct Text final : Caption {
        void setText(const std::string& caption) override { text = caption; }
        std::string text;
    };

    explicit QuietWindowRun(float seed) : seed(seed) {}
    void play(const std::string&) override {}
    void clear() override {}
    void drawSegment(float, float, float, float, PaletteIndex) override {}
    float secondsSinceMidnight() override { return seed; }

    float seed;
    UniformRandomSource random;
    Text estimate;
    Text count;
    RunContext context{*this, *this, random, *this, estimate, count};
};

struct Finished {
    int status = -1;
    QString out;
    QString err;
};

Finished runProgram(const QStringList& arguments, const QString& program = STATS_PROGRAM)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(120'000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

BatchSummary summariseBatch(int needles, std::int64_t runs, std::uint32_t seed)
{
    std::atomic<std::int64_t> thrown{0};
    const auto hits = runBatch({needles, runs, seed, 2}, thrown);
    return summarise(hits, needles, deductionFor(needles), exactHitRate());
}

}  // namespace

class StatsTest : public QObject {
    Q_OBJECT

private slots:
    void eachRunIsTheWindowsRun_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<std::uint32_t>("seed");
        for (int size = 0; size < int(kRunSizes.size()); ++size) {
            for (const std::uint32_t seed : {0u, 0x4780e3c0u, kLargestSeed}) {
                QTest::addRow("%d needles, seed %u", kRunSizes[size].needles, seed) << size << seed;
            }
        }
    }

    void eachRunIsTheWindowsRun()
    {
        QFETCH(int, size);
        QFETCH(std::uint32_t, seed);
        const RunSize& runSize = kRunSizes[size];
        QuietWindowRun window(runSeed(seed, 0));
        runExperiment(runSize, window.context);

        std::atomic<std::int64_t> thrown{0};
        const std::int32_t hits = countRunHits(runSize.needles, runSeed(seed, 0), thrown);
        const RunResult result = runResult(runSize.needles, runSize.deduction, hits);
        QCOMPARE(numberText(result.count), window.count.text);
        QCOMPARE(result.estimate ? numberText(*result.estimate) : std::string(),
                 window.estimate.text);
        QCOMPARE(thrown.load(), runSize.needles);
    }

    void exactRateOfTheRule()
    {
        // Closed form: each of the five one-unit line bands is met from a start band of height
        // 1 + |drop|, averaged over the angle, less what the last band loses where a needle
        // starting below y = 439 would reach past the starts' range.
        const double span = 6.28318526;
        const double meanAbsDrop = 40 * (3 + std::cos(span)) / span;
        const double lost =
            (2 * std::sqrt(79.0) - 39 * (std::numbers::pi - 2 * std::asin(39.0 / 40))) / span;
        QCOMPARE_LT(std::abs(exactHitRate() - (5 * (1 + meanAbsDrop) - lost) / 400), 1e-9);
    }

    void hitFractionSettlesOnTheExactRate()
    {
        const BatchSummary summary = summariseBatch(10000, 1000, 12345);
        QVERIFY(summary.interval.holds(summary.exactRate));
        QVERIFY(!summary.interval.holds(std::numbers::inv_pi));
        QCOMPARE_LT(summary.interval.high - summary.interval.low, 0.0006);
    }

    void spreadOfTheEstimateFollowsTheDeltaMethod()
    {
        const BatchSummary summary = summariseBatch(1000, 4000, 777);
        // The sample SD of 4,000 runs is itself uncertain by about 1.1%.
        QCOMPARE_LT(std::abs(*summary.withoutDeduction.sd - 0.136), 0.006);
        QCOMPARE_LT(std::abs(*summary.withDeduction.sd - 0.145), 0.006);
        QCOMPARE_LT(std::abs(*summary.withoutDeduction.expectedSd - 0.136), 0.0005);
        QCOMPARE_LT(std::abs(*summary.withDeduction.expectedSd - 0.1447), 0.0005);
        QCOMPARE_LT(std::abs(*summary.withDeduction.mean - *summary.withDeduction.expectedMean),
                    0.01);
    }

    void summaryOfAFewRunsByHand()
    {
        // Two runs of 100 needles with 40 and 50 hits, a deduction of 10, a rate of one half.
        const std::int32_t hits[] = {40, 50, 10};
        const BatchSummary two = summarise(std::span(hits, 2), 100, 10, 0.5);
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
        const BatchSummary three = summarise(hits, 100, 10, 0.5);
        QCOMPARE(three.withDeduction.noEstimate, 1);
        QCOMPARE(three.withDeduction.estimates, 2);
        QVERIFY(!summarise(std::span(hits, 1), 100, 0, 0.5).withoutDeduction.sd);
        QVERIFY(!summarise(hits, 4, 0, 0.5).withoutDeduction.expectedMean);  // count near 0
    }

    void commandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("outcome");  // the plan, or the complaint
        const auto row = [](const char* name, QStringList arguments, const char* outcome) {
            QTest::newRow(name) << arguments << QString::fromLatin1(outcome);
        };
        row("defaults", {}, "1000 x 1000, seed 99, 2 threads");
        row("a button's caption", {"--needles", "50,000", "--runs", "1"}, "50000 x 1, seed 99");
        row("the largest of each",
            {"--needles", "2147483647", "--runs", "10000000", "--seed", "2139095039", "--threads",
             "256"},
            "2147483647 x 10000000, seed 2139095039, 256 threads");
        row("the smallest of each",
            {"--needles", "1", "--runs", "1", "--seed", "0", "--threads", "1"},
            "1 x 1, seed 0, 1 threads");
        row("zero needles", {"--needles", "0"}, "--needles must be a whole number from 1 to");
        row("words for needles", {"--needles", "many"}, "--needles must be");
        row("needles past int", {"--needles", "2147483648"}, "--needles must be");
        row("zero runs", {"--runs", "0"}, "--runs must be");
        row("too many runs", {"--runs", "10000001"}, "--runs must be");
        row("fractional runs", {"--runs", "2.5"}, "--runs must be");
        row("negative seed", {"--seed", "-1"}, "--seed must be");
        row("seed past the largest", {"--seed", "2139095040"}, "--seed must be");
        row("no threads", {"--threads", "0"}, "--threads must be");
        row("too many threads", {"--threads", "257"}, "--threads must be");
        row("unknown option", {"--needle", "10"}, "Unknown option 'needle'");
        row("missing value", {"--runs"}, "Missing value after '--runs'");
        row("stray argument", {"1000"}, "unexpected argument \"1000\"");
        row("empty file name", {"--csv", ""}, "--csv needs a file name");
        row("one file for both", {"--csv", "out", "--plot", "./out"}, "name the same file");
    }

    void commandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, outcome);
        const ParsedCommandLine parsed =
            parseCommandLine(QStringList{"buffon-needle-stats"} + arguments, 99, 2);
        QVERIFY(!parsed.message.contains(QLatin1Char('\n')));
        if (!parsed.options) {
            QCOMPARE(parsed.status, 2);
            QVERIFY2(parsed.message.contains(outcome), qPrintable(parsed.message));
            return;
        }
        const BatchPlan& plan = parsed.options->plan;
        QVERIFY2(QStringLiteral("%1 x %2, seed %3, %4 threads")
                     .arg(plan.needles)
                     .arg(plan.runs)
                     .arg(plan.seed)
                     .arg(plan.threads)
                     .startsWith(outcome),
                 qPrintable(outcome));
    }

    void sameSeedSameOutputWhateverTheThreads()
    {
        QTemporaryDir dir;
        const auto csv = [&](const char* name) {
            return dir.filePath(QString::fromLatin1(name));
        };
        const QStringList common{"--needles", "1000", "--runs", "300", "--seed", "2024"};
        const Finished one = runProgram(common + QStringList{"--threads", "1", "--csv", csv("1")});
        const Finished two = runProgram(common + QStringList{"--threads", "2", "--csv", csv("2")});
        const Finished other = runProgram({"--runs", "300", "--seed", "2025", "--csv", csv("o")});
        QCOMPARE(one.status, 0);
        QCOMPARE(one.out, two.out);
        QVERIFY(one.out.contains(QRegularExpression("exact rate of the rule +0.330691 +inside")));
        QVERIFY(one.out.contains(QRegularExpression("1/pi +0.318310 +outside the interval")));
        const QByteArray table = contents(csv("1"));
        QCOMPARE(table, contents(csv("2")));
        QVERIFY(table != contents(csv("o")));
        const QList<QByteArray> lines = table.split('\n');
        QCOMPARE(lines.size(), 302);  // header, 300 runs, the empty piece after the last newline
        QCOMPARE(lines[0], "run,hits,count,estimate");
        // Row 300 is the window's run seeded with the 300th value from 2024 on.
        std::atomic<std::int64_t> thrown{0};
        const std::int32_t hits = countRunHits(1000, runSeed(2024, 299), thrown);
        QCOMPARE(
            lines[300],
            QByteArray("300," + QByteArray::number(hits) + ',' + QByteArray::number(hits - 10) +
                       ',' + QByteArray::fromStdString(numberText(1000.0 / (hits - 10)))));
    }

    void refusedRunsLeaveNothingBehind()
    {
        QTemporaryDir dir;
        const QString table = dir.filePath(QStringLiteral("runs.csv"));
        for (const QStringList& arguments :
             {QStringList{"--runs", "5", "--csv", table, "--plot", dir.filePath("no/such.png")},
              QStringList{"--needles", "0", "--csv", table},
              QStringList{"--runs", "5", "--csv", dir.path()}}) {
            const Finished refused = runProgram(arguments);
            QCOMPARE(refused.status, 2);
            QVERIFY(refused.out.isEmpty());  // refused before any run
            QVERIFY2(
                refused.err.count('\n') == 1 && refused.err.startsWith("buffon-needle-stats: "),
                qPrintable(refused.err));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void lateWriteFailuresFailTheRun_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("runs");
        QTest::newRow("table") << "--csv"
                               << "20000";
        QTest::newRow("histogram") << "--plot"
                                   << "500";
    }

    void lateWriteFailuresFailTheRun()
    {
        // A disk that fills up while the files are written: a 4 KiB file system of the test's
        // own, mounted over a scratch folder in a mount namespace of its own (needs root).
        QFETCH(QString, option);
        QFETCH(QString, runs);
        QTemporaryDir dir;
        const QString script = QStringLiteral(
            "d=$1; shift; mount -t tmpfs -o size=4k tmpfs \"$d\" || exit 77; \"$@\"; status=$?; "
            "echo left: $(ls -A \"$d\"); exit $status");
        const QString file = dir.filePath(QStringLiteral("out"));
        const Finished full = runProgram({"-m", "sh", "-c", script, "sh", dir.path(), STATS_PROGRAM,
                                          option, file, "--runs", runs},
                                         QStringLiteral("unshare"));
        if (full.status == 77 || full.err.contains("unshare")) {
            QSKIP("no mount namespace here (not root)");
        }
        QCOMPARE(full.status, 1);
        QVERIFY2(full.err.contains("buffon-needle-stats: cannot write " + file),
                 qPrintable(full.err));
        QVERIFY2(full.out.endsWith("left:\n"), "a partial file was left behind");
    }

    void histogramShowsEachRunInItsBin()
    {
        // Five bins a sixteenth wide from 2.96875: one run, one, two, one, one.
        const Tally estimates[] = {{3.0, 1}, {3.05, 1}, {3.1, 2}, {3.2, 1}, {3.25, 1}};
        const HistogramPlot plot(estimates, 3.125);
        QCOMPARE(plot.counts(), (std::vector<std::int64_t>{1, 1, 2, 1, 1}));
        QCOMPARE(plot.binStart(), 2.96875);
        const QImage image = plot.image(QStringLiteral("six runs"));
        const auto count = [&](int column, QRgb colour) {
            int found = 0;
            for (int y = 0; y < image.height(); ++y) {
                found += image.pixel(column, y) == colour;
            }
            return found;
        };
        // Bars as high as their runs, standing where their values fall and only there.
        const int single = count(plot.columnOf(3.0), HistogramPlot::kBarColour);
        QCOMPARE_GT(single, 50);
        QCOMPARE(count(plot.columnOf(3.25), HistogramPlot::kBarColour), single);
        QCOMPARE_LE(std::abs(count(plot.columnOf(3.1), HistogramPlot::kBarColour) - 2 * single), 2);
        QCOMPARE(count(plot.columnOf(2.95), HistogramPlot::kBarColour), 0);
        QCOMPARE(count(plot.columnOf(3.29), HistogramPlot::kBarColour), 0);
        // Pi and the mean run the plot's height, the mean's dashed; nowhere else those colours.
        QCOMPARE_GT(count(plot.columnOf(std::numbers::pi), HistogramPlot::kPiColour), 350);
        QCOMPARE_GT(count(plot.columnOf(3.125), HistogramPlot::kMeanColour), 170);
        QCOMPARE(count(plot.columnOf(3.0), HistogramPlot::kPiColour) +
                     count(plot.columnOf(3.0), HistogramPlot::kMeanColour),
                 0);
        // Ticks every 0.05, at their places on the axis.
        const std::vector<Tick> ticks = plot.valueTicks();
        QCOMPARE_GE(ticks.size(), 5u);
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            QCOMPARE(ticks[i].text, QString::number(ticks.front().value + 0.05 * i, 'f', 2));
            QCOMPARE(image.pixel(plot.columnOf(ticks[i].value), 502), qRgb(0, 0, 0));
        }
        QVERIFY(ticks.front().value < 3.01 && ticks.back().value > 3.24);
    }

    void progressBarFollowsTheWorkAndWipesItself()
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
        QVERIFY(drawn.endsWith('\r' + QByteArray(56, ' ') + '\r'));
    }
};

QTEST_MAIN(StatsTest)
#include "tst_stats.moc"
