#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <numbers>

#include "batch_run.h"
#include "batch_summary.h"
#include "exact_rate.h"
#include "experiment_run.h"
#include "histogram_plot.h"
#include "number_text.h"
#include "run_result.h"
#include "stats_options.h"

using namespace buffon;

namespace {

// A window run with nothing to draw on or sound, whose clock reads the given seed.
struct QuietWindowRun final : CuePlayer, Board, Clock {
    struct Text final : Caption {
        void SetCaption(const std::string& caption) override { text = caption; }
        std::string text;
    };

    explicit QuietWindowRun(float seed) : seed(seed) {}
    void PlayCue(const std::string&) override {}
    void Clear() override {}
    void DrawSegment(float, float, float, float, PaletteIndex) override {}
    float SecondsSinceMidnight() override { return seed; }

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

Finished RunProgram(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(STATS_PROGRAM), arguments);
    process.waitForFinished(120'000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

BatchSummary SummariseBatch(int needles, std::int64_t runs, std::uint32_t seed)
{
    std::atomic<std::int64_t> thrown{0};
    const auto hits = RunBatch({needles, runs, seed, 2}, thrown);
    return Summarise(hits, needles, DeductionFor(needles), ExactHitRate());
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
    QuietWindowRun window(RunSeed(seed, 0));
    RunExperiment(runSize, window.context);

    std::atomic<std::int64_t> thrown{0};
    const std::int32_t hits = CountHits(runSize.needles, RunSeed(seed, 0), thrown);
    const RunResult result = ResultOf(runSize.needles, DeductionFor(runSize.needles), hits);
    QCOMPARE(NumberText(result.count), window.count.text);
    QCOMPARE(result.estimate ? NumberText(*result.estimate) : std::string(), window.estimate.text);
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
    QCOMPARE_LT(std::abs(ExactHitRate() - closedForm), 1e-9);
    QCOMPARE(std::round(ExactHitRate() * 1e5) / 1e5, 0.33069);
}

void StatsTest::hitFractionSettlesOnTheExactRate()
{
    const BatchSummary summary = SummariseBatch(10000, 1000, 12345);
    QVERIFY2(summary.interval.Holds(summary.exactRate),
             qPrintable(QStringLiteral("%1 to %2")
                            .arg(summary.interval.low, 0, 'f', 6)
                            .arg(summary.interval.high, 0, 'f', 6)));
    QVERIFY(!summary.interval.Holds(std::numbers::inv_pi));
    QCOMPARE_LT(summary.interval.high - summary.interval.low, 0.0006);
}

void StatsTest::spreadOfTheEstimateFollowsTheDeltaMethod()
{
    const BatchSummary summary = SummariseBatch(1000, 4000, 777);
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
        ParseCommandLine(QStringList{"buffon-needle-stats"} + arguments, 0, 2);
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
    const Finished one = RunProgram(common + QStringList{"--threads", "1", "--csv", csv("1.csv")});
    const Finished two = RunProgram(common + QStringList{"--threads", "2", "--csv", csv("2.csv")});
    const Finished other =
        RunProgram({"--needles", "1000", "--runs", "300", "--seed", "2025", "--csv", csv("o.csv")});
    QCOMPARE(one.status, 0);
    QCOMPARE(two.status, 0);
    QCOMPARE(one.out, two.out);
    QVERIFY(one.out.contains(QStringLiteral("Seed                                        2024")));
    const QByteArray table = Contents(csv("1.csv"));
    QCOMPARE(table, Contents(csv("2.csv")));
    QVERIFY(table != Contents(csv("o.csv")));
    const QList<QByteArray> lines = table.split('\n');
    QCOMPARE(lines.size(), 302);  // header, 300 runs, the empty piece after the last newline
    QCOMPARE(lines[0], "run,hits,count,estimate");
    // Row 300 is the window's run seeded with the 300th value from 2024 on.
    std::atomic<std::int64_t> thrown{0};
    const std::int32_t hits = CountHits(1000, RunSeed(2024, 299), thrown);
    QCOMPARE(lines[300],
             QByteArray("300," + QByteArray::number(hits) + ',' + QByteArray::number(hits - 10) +
                        ',' + QByteArray::fromStdString(NumberText(1000.0 / (hits - 10)))));
}

void StatsTest::refusedRunsLeaveNothingBehind()
{
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("runs.csv"));
    const Finished missingFolder = RunProgram(
        {"--runs", "5", "--csv", table, "--plot", dir.filePath(QStringLiteral("no/such.png"))});
    QCOMPARE(missingFolder.status, 2);
    QCOMPARE(missingFolder.err.count(QLatin1Char('\n')), 1);
    QVERIFY(missingFolder.out.isEmpty());  // refused before any run
    const Finished noNeedles = RunProgram({"--needles", "0", "--csv", table});
    QCOMPARE(noNeedles.status, 2);
    QCOMPARE(noNeedles.err.count(QLatin1Char('\n')), 1);
    const Finished folder = RunProgram({"--runs", "5", "--csv", dir.path()});
    QCOMPARE(folder.status, 2);
    QVERIFY2(folder.err.startsWith(QStringLiteral("buffon-needle-stats: cannot write ")),
             qPrintable(folder.err));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void StatsTest::histogramMarksPiAndTheMean()
{
    const std::vector<double> estimates{3.0, 3.05, 3.1, 3.1, 3.2, 3.25};
    const HistogramPlot plot(estimates, 3.1167);
    const QImage image = plot.Draw(QStringLiteral("six runs"));
    QCOMPARE(image.size(), QSize(HistogramPlot::kWidth, HistogramPlot::kHeight));
    const auto columnHas = [&](double value, QRgb colour) {
        int found = 0;
        for (int dx = -1; dx <= 1; ++dx) {
            for (int y = 0; y < image.height(); ++y) {
                found += image.pixel(plot.ColumnOf(value) + dx, y) == colour;
            }
        }
        return found;
    };
    // Both lines run the plot's height, the mean's dashed; nothing else is in their colours.
    QCOMPARE_GT(columnHas(std::numbers::pi, HistogramPlot::kPiColour), 2 * 350);
    QCOMPARE_GT(columnHas(3.1167, HistogramPlot::kMeanColour), 350);
    QCOMPARE(columnHas(3.0, HistogramPlot::kPiColour) + columnHas(3.0, HistogramPlot::kMeanColour),
             0);
    QCOMPARE_LT(plot.ColumnOf(3.0), plot.ColumnOf(3.1167));
}

QTEST_MAIN(StatsTest)
#include "tst_stats.moc"
