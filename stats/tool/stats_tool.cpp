#include "stats/tool/stats_tool.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>
#include <QTextStream>
#include <bit>
#include <cstdio>
#include <map>
#include <optional>
#include <thread>
#include <vector>

#include "experiment/local_clock.h"
#include "experiment/run_size.h"
#include "stats/batch_summary.h"
#include "stats/csv_text.h"
#include "stats/exact_rate.h"
#include "stats/summary_json.h"
#include "stats/summary_text.h"
#include "stats/tool/histogram_plot.h"
#include "stats/tool/output_file.h"
#include "stats/tool/progress_bar.h"
#include "stats/tool/stats_options.h"

namespace buffon {
namespace {

void complainCannotWrite(const OutputFile& file)
{
    QTextStream(stderr) << QCoreApplication::applicationName() << ": cannot write " << file.path()
                        << ": " << file.error() << '\n';
}

QString plotTitle(const BatchSummary& summary)
{
    QString title =
        summary.runs == 1
            ? QStringLiteral("Estimate of π from one run of %1 needles")
            : QStringLiteral("Estimates of π from %1 runs of %2 needles").arg(summary.runs);
    title = title.arg(summary.needles);
    if (summary.deduction != 0) {
        title += QStringLiteral(", deduction %1").arg(summary.deduction);
    }
    if (summary.withDeduction.noEstimate != 0) {
        title += QStringLiteral(" (%1 without an estimate)").arg(summary.withDeduction.noEstimate);
    }
    return title;
}

QByteArray histogramPng(const HitTally& tally, const BatchSummary& summary)
{
    // Every run with the same hits has the same estimate.
    std::vector<Tally> estimates;
    for (const auto& [hits, runs] : tally) {
        if (const auto estimate = runResult(summary.needles, summary.deduction, hits).estimate) {
            estimates.push_back({*estimate, runs});
        }
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png")
        .write(HistogramPlot(estimates, *summary.withDeduction.mean).image(plotTitle(summary)));
    return png;
}

// Writes one whole output; false after saying why it failed.
bool writeWhole(OutputFile& file, std::string_view bytes)
{
    if (file.open() && file.write(bytes) && file.commit()) {
        return true;
    }
    complainCannotWrite(file);
    return false;
}

}  // namespace

ParsedCommandLine readCommandLine(const QStringList& arguments)
{
    const auto clockSeed = std::bit_cast<std::uint32_t>(LocalClock().secondsSinceMidnight());
    return parseCommandLine(arguments, clockSeed,
                            static_cast<int>(std::thread::hardware_concurrency()));
}

int reportCommandLine(const ParsedCommandLine& command)
{
    if (command.status == 0) {
        QTextStream(stdout) << command.message;
    } else {
        QTextStream(stderr) << command.message << '\n';
    }
    return command.status;
}

int checkOutputFiles(const StatsOptions& options)
{
    for (const QString& path : {options.csvPath, options.jsonPath, options.plotPath}) {
        if (path.isEmpty()) {
            continue;
        }
        if (const QString reason = OutputFile(path).probe(); !reason.isEmpty()) {
            QTextStream(stderr) << QCoreApplication::applicationName() << ": cannot write " << path
                                << ": " << reason << '\n';
            return 2;
        }
    }
    return 0;
}

int runStats(const StatsOptions& options)
{
    const BatchPlan& plan = options.plan;
    const int deduction = deductionFor(plan.needles);
    int status = 0;

    // The table is written as the runs are counted, so that a batch of any size needs no more
    // memory than a block of runs and the tally of their hits.
    std::optional<OutputFile> csv;
    if (!options.csvPath.isEmpty()) {
        csv.emplace(options.csvPath);
        if (!csv->open() || !csv->write(kCsvHeader)) {
            complainCannotWrite(*csv);
            csv.reset();
            status = 1;
        }
    }
    HitTally tally;
    std::atomic<std::int64_t> thrown{0};
    {
        const double needles = static_cast<double>(plan.runs) * plan.needles;
        std::optional<ProgressBar> bar;
        if (ProgressBar::wanted(stderr, needles)) {
            bar.emplace(thrown, needles, stderr);
        }
        runBatch(plan, thrown, [&](std::span<const std::int32_t> hits, std::int64_t firstRun) {
            for (const std::int32_t h : hits) {
                ++tally[h];
            }
            if (csv) {
                csv->write(csvRows(hits, firstRun + 1, plan.needles, deduction));
            }
        });
    }
    if (csv && !csv->commit()) {
        complainCannotWrite(*csv);
        status = 1;
    }

    const BatchSummary summary = summarise(tally, plan.needles, deduction, exactHitRate());
    if (!options.quiet) {
        const bool stdoutTaken = options.csvPath == QLatin1String("-") ||
                                 options.jsonPath == QLatin1String("-") ||
                                 options.plotPath == QLatin1String("-");
        const std::string text = summaryText(summary, plan.seed);
        std::FILE* to = stdoutTaken ? stderr : stdout;
        std::fwrite(text.data(), 1, text.size(), to);
        std::fflush(to);
    }
    if (!options.jsonPath.isEmpty()) {
        OutputFile json(options.jsonPath);
        const std::string text =
            summaryJson(summary, plan.seed, QCoreApplication::applicationName().toStdString(),
                        QCoreApplication::applicationVersion().toStdString());
        status = writeWhole(json, text) ? status : 1;
    }
    if (!options.plotPath.isEmpty()) {
        OutputFile plot(options.plotPath);
        if (!summary.withDeduction.mean) {
            QTextStream(stderr) << QCoreApplication::applicationName() << ": cannot write "
                                << plot.path() << ": no run gave an estimate to plot\n";
            status = 1;
        } else {
            const QByteArray png = histogramPng(tally, summary);
            status = writeWhole(plot, {png.constData(), std::size_t(png.size())}) ? status : 1;
        }
    }
    return status;
}

}  // namespace buffon
