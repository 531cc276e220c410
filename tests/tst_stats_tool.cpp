// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The companion's outputs, each made in-process by the exporter its table picks, and its
// command line read in-process.

#include <QFile>
#include <QImage>
#include <QTest>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

#include "stats/batch_summary.h"
#include "stats/tool/command/outputs.h"
#include "stats/tool/command/stats_options.h"
#include "stats/tool/inference/inference.h"

Q_DECLARE_METATYPE(buffon::NeedleRule)

using namespace buffon;

namespace {

const Exporter& exporterFor(std::string_view option, std::string_view path)
{
    for (const OutputKind& kind : outputKinds()) {
        if (kind.option == option) {
            return formatFor(kind, path)->exporter;
        }
    }
    throw std::invalid_argument("no such output");
}

// A batch as the program runs it, its table written as it goes.
struct Batch {
    BatchPlan plan;
    HitTally tally;
    std::vector<std::int32_t> firstRuns;
    std::string table;
    Inference inference = inferenceOf({{0, 1}}, plan);
    BatchSummary summary;

    explicit Batch(const BatchPlan& planned) : plan(planned)
    {
        const Exporter& csv = exporterFor("csv", "runs.csv");
        table = csv.header(plan);
        std::atomic<std::int64_t> thrown{0};
        runBatch(plan, thrown, [&](std::span<const std::int32_t> hits, std::int64_t first) {
            for (const std::int32_t h : hits) {
                ++tally[h];
                if (firstRuns.size() < kFirstRuns) {
                    firstRuns.push_back(h);
                }
            }
            table += csv.rows(plan, hits, first);
            return true;
        });
        inference = inferenceOf(tally, plan);
        summary = summarise(tally, plan, inference.z);
    }

    Results results(const PictureSettings& pictures = {}) const
    {
        return {plan,    "buffon-needle-stats", "2.0.0", tally, summary, inference, firstRuns, {},
                pictures};
    }

    std::string output(std::string_view option, std::string_view path,
                       const PictureSettings& pictures = {}) const
    {
        return exporterFor(option, path).finish(results(pictures));
    }
};

PictureSettings intervalsOf(int runs)
{
    PictureSettings settings;
    settings.intervalRuns = runs;
    return settings;
}

QImage pngOf(const std::string& png)
{
    return QImage::fromData(reinterpret_cast<const uchar*>(png.data()),
                            static_cast<int>(png.size()));
}

// How many of a picture's first rows hold dark ink.
int inkedRows(const QImage& picture, int rows)
{
    int inked = 0;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (qGray(picture.pixel(x, y)) < 128) {
                ++inked;
                break;
            }
        }
    }
    return inked;
}

std::string stored(const QString& name)
{
    QFile file(QStringLiteral(STORED_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("missing");
}

// The summary a batch of this tally prints.
std::string summaryOf(const HitTally& tally, const BatchPlan& plan, const Inference& inference)
{
    const BatchSummary summary = summarise(tally, plan, inference.z);
    return summaryExporter().finish({plan, "p", "v", tally, summary, inference, {}, {}, {}});
}

}  // namespace

class StatsToolTest : public QObject {
    Q_OBJECT

private slots:
    void outputsAreTheStoredCopies_data()
    {
        QTest::addColumn<NeedleRule>("rule");
        QTest::addColumn<QString>("name");
        QTest::newRow("the window's rule") << NeedleRule(WindowRule()) << "window";
        QTest::newRow("the textbook's") << NeedleRule(GeometricRule()) << "geometric";
        QTest::newRow("a needle longer than the spacing")
            << NeedleRule(GeometricRule{120, 80}) << "long_needle";
    }

    void outputsAreTheStoredCopies()
    {
        QFETCH(NeedleRule, rule);
        QFETCH(QString, name);
        // 300 runs of 1,000 needles from seed 7 on two threads, as `--runs 300 --seed 7` runs.
        const Batch batch({1000, 300, 7, 2, rule, {}});
        QCOMPARE(batch.output("json", "figures.json"), stored(name + ".json"));
        QCOMPARE(summaryExporter().finish(batch.results()), stored(name + ".txt"));
        if (name != QLatin1String("geometric")) {
            QCOMPARE(batch.table, stored(name + ".csv"));
        }
    }

    void tableShowsTheRulesEstimate_data()
    {
        QTest::addColumn<NeedleRule>("rule");
        QTest::addColumn<int>("needles");
        QTest::addColumn<int>("hits");
        QTest::addColumn<QString>("row");
        const auto row = [](const char* name, NeedleRule rule, int needles, int hits,
                            const char* text) {
            QTest::newRow(name) << rule << needles << hits << text;
        };
        // Then the number run 1 of seed 0 reseeds from, and the run's own 95% interval for pi
        // (the Wilson interval of the count, as numbers a spreadsheet reads).
        row("none where the count is 0, an interval open above", WindowRule(), 10, 0,
            "1,0,0,,9.3427787335811e+25,3.60317771627006,,no\n");
        row("no interval for a count below 0", WindowRule(), 1000, 5,
            "1,5,-5,-200,9.3427787335811e+25,,,\n");
        row("2L N / (D hits) for the textbook's", GeometricRule{80, 80}, 1000, 640,
            "1,640,640,3.125,9.3427787335811e+25,2.98881166644115,3.27994545670677,yes\n");
    }

    void tableShowsTheRulesEstimate()
    {
        QFETCH(NeedleRule, rule);
        QFETCH(int, needles);
        QFETCH(int, hits);
        QFETCH(QString, row);
        const std::int32_t runs[] = {hits};
        QCOMPARE(exporterFor("csv", "t.csv").rows({needles, 1, 0, 1, rule, {}}, runs, 0),
                 row.toStdString());
    }

    // The law's test as a class reads it, for runs of one needle (rate 0.330691): p is never
    // rounded to a certainty, and one degree is one.
    void lawFitReadsAsItShould_data()
    {
        QTest::addColumn<int>("misses");
        QTest::addColumn<int>("hits");
        QTest::addColumn<QString>("line");
        QTest::newRow("a fit too good to round")
            << 66931 << 33069 << "chi-square 0.0 on 1 degree of freedom, p > 0.99";
        QTest::newRow("an ordinary fit")
            << 67100 << 32900 << "chi-square 1.3 on 1 degree of freedom, p = 0.26";
        QTest::newRow("no fit") << 50000 << 50000
                                << "chi-square 12951.2 on 1 degree of freedom, p < 1e-16";
    }
    void lawFitReadsAsItShould()
    {
        QFETCH(int, misses);
        QFETCH(int, hits);
        QFETCH(QString, line);
        const BatchPlan plan{1, misses + hits, 0, 1, WindowRule(), {}};
        const HitTally tally{{0, misses}, {1, hits}};
        const std::string text = summaryOf(tally, plan, inferenceOf(tally, plan));
        QVERIFY2(
            text.find("against the exact law: " + line.toStdString() + "\n") != std::string::npos,
            text.c_str());
    }

    // A few runs that all hold pi, or all miss it, are no certainty: the margin reaches the far
    // end of the share's 95% Wilson interval (for 2 of 2, down to 0.342380). Below a hundred
    // runs, fewer than five expected to miss pi, the summary says so in words.
    void coverageOfFewRunsIsNoCertainty_data()
    {
        QTest::addColumn<int>("hits");
        QTest::addColumn<int>("runs");
        QTest::addColumn<double>("share");
        QTest::addColumn<double>("margin");
        QTest::addColumn<QString>("line");
        QTest::newRow("two runs that hold pi")
            << 330 << 2 << 1.0 << 0.657620 << "too few runs to tell: 2 of 2 hold pi";
        QTest::newRow("one run that misses it")
            << 250 << 1 << 0.0 << 0.793451 << "too few runs to tell: 0 of 1 hold pi";
        QTest::newRow("99 runs") << 330 << 99 << 1.0 << 0.037353
                                 << "too few runs to tell: 99 of 99 hold pi";
        QTest::newRow("a hundred runs, five expected to miss")
            << 330 << 100 << 1.0 << 0.036993 << "1.000000   ± 0.036993";
        QTest::newRow("many runs, near the normal margin")
            << 330 << 10000 << 1.0 << 0.000384 << "1.000000   ± 0.000384";
    }
    void coverageOfFewRunsIsNoCertainty()
    {
        QFETCH(int, hits);
        QFETCH(int, runs);
        QFETCH(double, share);
        QFETCH(double, margin);
        QFETCH(QString, line);
        const BatchPlan plan{1000, runs, 0, 1, WindowRule(), {}};
        const HitTally tally{{hits, runs}};
        const Inference inference = inferenceOf(tally, plan);
        QVERIFY(inference.coverage);
        QCOMPARE(inference.coverage->share, share);
        QCOMPARE_LT(std::abs(inference.coverage->margin - margin), 1e-6);
        const std::string text = summaryOf(tally, plan, inference);
        QVERIFY2(text.find("  share that hold pi") != std::string::npos &&
                     text.find(line.toStdString() + "\n") != std::string::npos,
                 text.c_str());
    }

    void titlesNameTheRuleAndCountInGroupsOfThree_data()
    {
        QTest::addColumn<NeedleRule>("rule");
        QTest::addColumn<int>("needles");
        QTest::addColumn<int>("runs");
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("intervalRuns");
        QTest::addColumn<QString>("title");
        const NeedleRule window;
        const NeedleRule textbook = GeometricRule{40, 80};
        const auto row = [](const char* name, const NeedleRule& rule, int needles, int runs,
                            const char* option, int intervalRuns, const char* title) {
            QTest::newRow(name) << rule << needles << runs << option << intervalRuns << title;
        };
        row("one run", window, 50000, 1, "plot", 100,
            "Estimate of π from one run of 50,000 needles, deduction 700; window's rule");
        row("the space of throws", GeometricRule{0.5, 2}, 3000, 1, "space", 100,
            "Height against angle of the first 2,000 needles of run 1, over the region where "
            "they hit; textbook's rule, L = 0.5, D = 2, seed 4");
        row("the first run's of many", window, 1000, 2000, "intervals", 1,
            "95% interval for π from run 1 of 2,000 runs of 1,000 needles; window's rule");
        row("every run's interval", textbook, 1000, 50, "intervals", 100,
            "95% intervals for π from 50 runs of 1,000 needles; textbook's rule, L = 40, D = 80");
        row("one run's", window, 1000, 1, "intervals", 1,
            "95% interval for π from one run of 1,000 needles; window's rule");
    }

    void titlesNameTheRuleAndCountInGroupsOfThree()
    {
        QFETCH(NeedleRule, rule);
        QFETCH(int, needles);
        QFETCH(int, runs);
        QFETCH(QString, option);
        QFETCH(int, intervalRuns);
        QFETCH(QString, title);
        const Batch batch({needles, runs, 4, 2, rule, {}});
        const QString svg = QString::fromStdString(
            batch.output(option.toStdString(), "p.svg", intervalsOf(intervalRuns)));
        QCOMPARE(
            svg.section(QStringLiteral("<title>"), 1).section(QStringLiteral("</title>"), 0, 0),
            title);
    }

    void picturesTakeTheirSizeTheirTextGrowingWithThem_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<double>("scale");
        QTest::newRow("a projector's") << 1920 << 1080 << 1080 / 560.0;
        QTest::newRow("the smallest") << 640 << 360 << 360 / 560.0;
        QTest::newRow("tall, its text as wide as ever") << 960 << 1400 << 1.0;
    }

    void picturesTakeTheirSizeTheirTextGrowingWithThem()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(double, scale);
        const Batch batch({1000, 300, 7, 2, NeedleRule(), {}});
        PictureSettings size;
        // The title's ink, above the legend, as tall as the scale says.
        const double asEver = inkedRows(pngOf(batch.output("plot", "h.png", size)), 55);
        size.width = width;
        size.height = height;
        const QImage picture = pngOf(batch.output("plot", "h.png", size));
        QCOMPARE(picture.size(), QSize(width, height));
        QCOMPARE_LT(std::abs(inkedRows(picture, qRound(55 * scale)) / (asEver * scale) - 1), 0.08);
        // The vector files are as large, a pixel being the 96th of an inch.
        const QString svg = QString::fromStdString(batch.output("plot", "h.svg", size));
        QVERIFY(svg.contains(QStringLiteral("<svg width=\"%1mm\" height=\"%2mm\"")
                                 .arg(width * 25.4 / 96)
                                 .arg(height * 25.4 / 96)));
        const QString pdf = QString::fromStdString(batch.output("plot", "h.pdf", size));
        QVERIFY(pdf.contains(QStringLiteral("/MediaBox [0 0 %1 %2]")
                                 .arg(width * 0.75, 0, 'f', 6)
                                 .arg(height * 0.75, 0, 'f', 6)));
    }

    // A long rule's figures make a long title: it stays within the picture, on a white edge.
    void longTitlesStayInThePicture()
    {
        const Batch batch(
            {10, 300, 1, 2, GeometricRule{0.123456789012345678, 0.98765432109876543}, {}});
        const QImage picture = pngOf(batch.output("plot", "h.png"));
        QCOMPARE(picture.width(), 960);
        int inked = 0;
        for (int y = 18; y < 48; ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const bool ink = qGray(picture.pixel(x, y)) < 128;
                inked += ink ? 1 : 0;
                QVERIFY2(!ink || (x >= 8 && x < picture.width() - 8), "the title runs off");
            }
        }
        QCOMPARE_GT(inked, 500);
    }

    void figuresThatAreNoNumbersAreWrittenAsNone()
    {
        BatchPlan plan;
        const Inference inference = inferenceOf({{330, 2}}, plan);
        BatchSummary summary = summarise({{330, 2}}, plan, inference.z);
        summary.hitFraction = std::numeric_limits<double>::quiet_NaN();
        summary.withDeduction.mean = std::numeric_limits<double>::infinity();
        summary.withDeduction.sd = -std::numeric_limits<double>::quiet_NaN();
        const HitTally tally{{330, 2}};
        const Results results{plan, "p", "v", tally, summary, inference, {}, {}, {}};
        const auto json = nlohmann::json::parse(exporterFor("json", "-").finish(results));
        QVERIFY(json["hit_fraction"].is_null());
        QVERIFY(json["estimate_with_deduction"]["mean"].is_null());
        QVERIFY(json["estimate_with_deduction"]["sd"].is_null());
        QCOMPARE(json["estimate_without_deduction"]["runs_with_estimate"].get<int>(), 2);
        const std::string text = summaryExporter().finish(results);
        QVERIFY(text.find("nan") == std::string::npos && text.find("inf") == std::string::npos);
        QVERIFY(text.find("\nHit fraction                                   -\n") !=
                std::string::npos);
    }

    void traceBandStaysWhereValuesCanBe_data()
    {
        QTest::addColumn<NeedleRule>("rule");
        QTest::addColumn<double>("highest");
        QTest::newRow("estimates are never negative") << NeedleRule(WindowRule()) << 1e9;
        QTest::newRow("the textbook's neither") << NeedleRule(GeometricRule()) << 1e9;
        QTest::newRow("fractions lie within 0 to 1") << NeedleRule(GeometricRule{300, 80}) << 1.0;
    }

    void traceBandStaysWhereValuesCanBe()
    {
        QFETCH(NeedleRule, rule);
        QFETCH(double, highest);
        for (const std::int64_t needles : {1, 2, 5, 30, 1000}) {
            const TraceValues values = traceValues(rule, {needles, needles / 3}, 1.96);
            QCOMPARE_GE(values.low, 0.0);
            QCOMPARE_LE(values.high, highest);
            QVERIFY(values.low < values.limit && values.limit < values.high);
        }
    }

    void commandLineTakesWhatItShould_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("read");
        const auto row = [](const char* name, QStringList arguments, const char* read) {
            QTest::newRow(name) << arguments << read;
        };
        row("defaults", {}, "1000 1000 window");
        row("blanks around values", {"--needles", " 50,000 ", "--rule", " window"},
            "50000 1000 window");
        row("a button's caption", {"--needles", "10,000", "--runs=3"}, "10000 3 window");
        row("signed, as any count", {"--needles", "+50,000", "--runs", "+3"}, "50000 3 window");
        row("the rule's parameters", {"--rule=geometric", "--length", "+30", "--spacing", "1e2"},
            "1000 1000 geometric (length 30, spacing 100)");
        row("a trace is one run", {"--trace", "t.CSV"}, "1000 1 window t.CSV");
        row("every distinct run", {"--runs", "2139095040"}, "1000 2139095040 window");
        row("a file name keeps its blanks", {"--csv", " a b "}, "1000 1000 window  a b ");
        row("the smallest picture", {"--plot", "p", "--size", " 640X360 "},
            "1000 1000 window p 640x360");
        row("the largest", {"--trace", "t.svg", "--size", "7680x4320"},
            "1000 1 window t.svg 7680x4320");
        row("the widest axis", {"--plot", "p", "--range", " 0:1e10 "},
            "1000 1000 window p 0:1e+10");
        row("the narrowest", {"--trace", "t.pdf", "--range", "3:3.000004"},
            "1000 1 window t.pdf 3:3");
        row("one interval", {"--intervals", "i.png", "--intervals-runs", "+1"},
            "1000 1000 window i.png of 1");
        row("as many as are kept", {"--intervals", "i.png", "--intervals-runs", "100"},
            "1000 1000 window i.png");
        row("a histogram in a dotted folder", {"--plot", "v1.2/.plot"},
            "1000 1000 window v1.2/.plot");
        row("a histogram under a name ending in a dot", {"--plot", "runs."},
            "1000 1000 window runs.");
        row("a device twice, which keeps nothing", {"--csv", "/dev/null", "--json", "/dev/null"},
            "1000 1000 window /dev/null /dev/null");
    }

    void commandLineTakesWhatItShould()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, read);
        std::vector<std::string> line{"buffon-needle-stats"};
        for (const QString& argument : arguments) {
            line.push_back(argument.toStdString());
        }
        const ParsedCommandLine parsed = parseCommandLine(line, 5, 2);
        QVERIFY2(parsed.options, parsed.message.c_str());
        const BatchPlan& plan = parsed.options->plan;
        std::string text = std::to_string(plan.needles) + ' ' + std::to_string(plan.runs) + ' ' +
                           description(plan.rule);
        for (const RequestedOutput& output : parsed.options->outputs) {
            text += ' ' + output.path;
        }
        const PictureSettings& pictures = parsed.options->pictures;
        if (pictures.width != kPlotWidth || pictures.height != kPlotHeight) {
            text += ' ' + std::to_string(pictures.width) + 'x' + std::to_string(pictures.height);
        }
        if (pictures.range) {
            text += ' ' + QString::number(pictures.range->low).toStdString() + ':' +
                    QString::number(pictures.range->high).toStdString();
        }
        if (pictures.intervalRuns != 100) {
            text += " of " + std::to_string(pictures.intervalRuns);
        }
        QCOMPARE(text, read.toStdString());
        QCOMPARE(plan.seed, 5u);
        QCOMPARE(plan.threads, 2);
    }
};

QTEST_MAIN(StatsToolTest)
#include "tst_stats_tool.moc"
