#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
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
    void eachRunIsTheWindowsRun_data();
    void eachRunIsTheWindowsRun();
    void exactRateOfTheRule();
    void hitFractionSettlesOnTheExactRate();
    void spreadOfTheEstimateFollowsTheDeltaMethod();
    void commandLinesRefused_data();
    void commandLinesRefused();
    void sameSeedSameOutputWhateverTheThreads();
    void refusedRunsLeaveNothingBehind();
    void lateWriteFailuresFailTheRun_data();
    void lateWriteFailuresFailTheRun();
    void histogramMarksPiAndTheMean();
};

void StatsTest::eachRunIsTheWindowsRun_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<std::uint32_t>("seed");
    for (int size = 0; size < int(kRunSizes.size()); ++size) {
        for (const std::uint32_t seed : {0u, 0x4780e3c0u, kLargestSeed}) {
            QTest::addRow("%d needles, seed %u", kRunSizes[size].needles, seed) << size << seed;
        }
    }
}

void StatsTest::eachRunIsTheWindowsRun()
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
    QCOMPARE(result.estimate ? numberText(*result.estimate) : std::string(), window.estimate.text);
    QCOMPARE(thrown.load(), runSize.needles);
}

void StatsTest::exactRateOfTheRule()
{
    // Closed form: each of the five one-unit line bands is met from a start band of height
    // 1 + |drop|, averaged over the angle, less what the last band loses where a needle
    // starting below y = 439 would reach past the starts' range.
    const double span = 6.28318526;
    const double meanAbsDrop = 40 * (3 + std::cos(span)) / span;
    const double lost =
        (2 * std::sqrt(79.0) - 39 * (std::numbers::pi - 2 * std::asin(39.0 / 40))) / span;
    const double closedForm = (5 * (1 + meanAbsDrop) - lost) / 400;
    QCOMPARE_LT(std::abs(exactHitRate() - closedForm), 1e-9);
    QCOMPARE(std::round(exactHitRate() * 1e5) / 1e5, 0.33069);
}

void StatsTest::hitFractionSettlesOnTheExactRate()
{
    const BatchSummary summary = summariseBatch(10000, 1000, 12345);
    QVERIFY2(summary.interval.holds(summary.exactRate),
             qPrintable(QStringLiteral("%1 to %2")
                            .arg(summary.interval.low, 0, 'f', 6)
                            .arg(summary.interval.high, 0, 'f', 6)));
    QVERIFY(!summary.interval.holds(std::numbers::inv_pi));
    QCOMPARE_LT(summary.interval.high - summary.interval.low, 0.0006);
}

void StatsTest::spreadOfTheEstimateFollowsTheDeltaMethod()
{
    const BatchSummary summary = summariseBatch(1000, 4000, 777);
    // The sample SD of 4,000 runs is itself uncertain by about 1.1%.
    QCOMPARE_LT(std::abs(*summary.withoutDeduction.sd - 0.136), 0.006);
    QCOMPARE_LT(std::abs(*summary.withDeduction.sd - 0.145), 0.006);
    QCOMPARE_LT(std::abs(*summary.withoutDeduction.expectedSd - 0.136), 0.0005);
    QCOMPARE_LT(std::abs(*summary.withDeduction.expectedSd - 0.1447), 0.0005);
    QCOMPARE_LT(std::abs(*summary.withDeduction.mean - *summary.withDeduction.expectedMean), 0.01);
    QCOMPARE(summary.withDeduction.noEstimate, 0);
}

void StatsTest::commandLinesRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("complaint");
    const auto row = [](const char* name, QStringList arguments, const char* complaint) {
        QTest::newRow(name) << arguments << QString::fromLatin1(complaint);
    };
    row("zero needles", {"--needles", "0"}, "--needles must be a whole number");
    row("negative needles", {"--needles", "-5"}, "--needles must be");
    row("words for needles", {"--needles", "many"}, "--needles must be");
    row("needles past int", {"--needles", "2147483648"}, "--needles must be");
    row("zero runs", {"--runs", "0"}, "--runs must be");
    row("fractional runs", {"--runs", "2.5"}, "--runs must be");
    row("negative seed", {"--seed", "-1"}, "--seed must be");
    row("seed past the largest", {"--seed", "2139095040"}, "--seed must be");
    row("no threads", {"--threads", "0"}, "--threads must be");
    row("unknown option", {"--needle", "10"}, "Unknown option 'needle'");
    row("missing value", {"--runs"}, "Missing value after '--runs'");
    row("stray argument", {"1000"}, "unexpected argument \"1000\"");
    row("one file for both", {"--csv", "out", "--plot", "./out"}, "name the same file");
}

void StatsTest::commandLinesRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, complaint);
    const ParsedCommandLine parsed =
        parseCommandLine(QStringList{"buffon-needle-stats"} + arguments, 0, 2);
    QVERIFY(!parsed.options);
    QCOMPARE(parsed.status, 2);
    QVERIFY2(parsed.message.contains(complaint), qPrintable(parsed.message));
    QVERIFY(!parsed.message.contains(QLatin1Char('\n')));
}

void StatsTest::sameSeedSameOutputWhateverTheThreads()
{
    QTemporaryDir dir;
    const auto csv = [&](const char* name) {
        return dir.filePath(QString::fromLatin1(name));
    };
    const QStringList common{"--needles", "1,000", "--runs", "300", "--seed", "2024"};
    const Finished one = runProgram(common + QStringList{"--threads", "1", "--csv", csv("1.csv")});
    const Finished two = runProgram(common + QStringList{"--threads", "2", "--csv", csv("2.csv")});
    const Finished other =
        runProgram({"--needles", "1000", "--runs", "300", "--seed", "2025", "--csv", csv("o.csv")});
    QCOMPARE(one.status, 0);
    QCOMPARE(two.status, 0);
    QCOMPARE(one.out, two.out);
    QVERIFY(one.out.contains(QStringLiteral("Seed                                        2024")));
    const QByteArray table = contents(csv("1.csv"));
    QCOMPARE(table, contents(csv("2.csv")));
    QVERIFY(table != contents(csv("o.csv")));
    const QList<QByteArray> lines = table.split('\n');
    QCOMPARE(lines.size(), 302);  // header, 300 runs, the empty piece after the last newline
    QCOMPARE(lines[0], "run,hits,count,estimate");
    // Row 300 is the window's run seeded with the 300th value from 2024 on.
    std::atomic<std::int64_t> thrown{0};
    const std::int32_t hits = countRunHits(1000, runSeed(2024, 299), thrown);
    QCOMPARE(lines[300],
             QByteArray("300," + QByteArray::number(hits) + ',' + QByteArray::number(hits - 10) +
                        ',' + QByteArray::fromStdString(numberText(1000.0 / (hits - 10)))));
}

void StatsTest::refusedRunsLeaveNothingBehind()
{
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("runs.csv"));
    const Finished missingFolder = runProgram(
        {"--runs", "5", "--csv", table, "--plot", dir.filePath(QStringLiteral("no/such.png"))});
    QCOMPARE(missingFolder.status, 2);
    QCOMPARE(missingFolder.err.count(QLatin1Char('\n')), 1);
    QVERIFY(missingFolder.out.isEmpty());  // refused before any run
    const Finished noNeedles = runProgram({"--needles", "0", "--csv", table});
    QCOMPARE(noNeedles.status, 2);
    QCOMPARE(noNeedles.err.count(QLatin1Char('\n')), 1);
    const Finished folder = runProgram({"--runs", "5", "--csv", dir.path()});
    QCOMPARE(folder.status, 2);
    QVERIFY2(folder.err.startsWith(QStringLiteral("buffon-needle-stats: cannot write ")),
             qPrintable(folder.err));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void StatsTest::lateWriteFailuresFailTheRun_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("runs");
    QTest::newRow("table") << "--csv"
                           << "20000";
    QTest::newRow("histogram") << "--plot"
                               << "500";
}

void StatsTest::lateWriteFailuresFailTheRun()
{
    // A disk that fills up while the files are written: a 4 KiB file system of the test's own,
    // mounted over a scratch folder in a mount namespace of its own (needs root).
    QFETCH(QString, option);
    QFETCH(QString, runs);
    QTemporaryDir dir;
    const QString script = QStringLiteral(
        "d=$1; shift; mount -t tmpfs -o size=4k tmpfs \"$d\" || exit 77; \"$@\"; status=$?; "
        "echo left: $(ls -A \"$d\"); exit $status");
    const QString file = dir.filePath(QStringLiteral("out"));
    const Finished full = runProgram({"-m", "sh", "-c", script, "sh", dir.path(), STATS_PROGRAM,
                                      option, file, "--runs", runs, "--needles", "10"},
                                     QStringLiteral("unshare"));
    if (full.status == 77 || full.err.contains("unshare")) {
        QSKIP("no mount namespace here (not root)");
    }
    QCOMPARE(full.status, 1);
    QVERIFY2(full.err.contains("buffon-needle-stats: cannot write " + file), qPrintable(full.err));
    QVERIFY2(full.out.endsWith("left:\n"), "a partial file was left behind");
}

void StatsTest::histogramMarksPiAndTheMean()
{
    const std::vector<double> estimates{3.0, 3.05, 3.1, 3.1, 3.2, 3.25};
    const HistogramPlot plot(estimates, 3.1167);
    const QImage image = plot.draw(QStringLiteral("six runs"));
    QCOMPARE(image.size(), QSize(HistogramPlot::kWidth, HistogramPlot::kHeight));
    const auto columnHas = [&](double value, QRgb colour) {
        int found = 0;
        for (int dx = -1; dx <= 1; ++dx) {
            for (int y = 0; y < image.height(); ++y) {
                found += image.pixel(plot.columnOf(value) + dx, y) == colour;
            }
        }
        return found;
    };
    // Both lines run the plot's height, the mean's dashed; nothing else is in their colours.
    QCOMPARE_GT(columnHas(std::numbers::pi, HistogramPlot::kPiColour), 2 * 350);
    QCOMPARE_GT(columnHas(3.1167, HistogramPlot::kMeanColour), 350);
    QCOMPARE(columnHas(3.0, HistogramPlot::kPiColour) + columnHas(3.0, HistogramPlot::kMeanColour),
             0);
    QCOMPARE_LT(plot.columnOf(3.0), plot.columnOf(3.1167));
}

QTEST_MAIN(StatsTest)
#include "tst_stats.moc"
