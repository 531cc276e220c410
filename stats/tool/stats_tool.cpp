#include "stats/tool/stats_tool.h"

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
#include "experiment/run_size.h"
#include "stats/batch_summary.h"
#include "stats/csv_text.h"
#include "stats/exact_rate.h"
#include "stats/summary_text.h"
#include "stats/tool/histogram_plot.h"
#include "stats/tool/output_file.h"
#include "stats/tool/progress_bar.h"
#include "stats/tool/stats_options.h"

namespace buffon {
namespace {

constexpr std::size_t kCsvSlice = 1 << 16;

void complainCannotWrite(const QString& path, const QString& reason)
{
    QTextStream(stderr) << QCoreApplication::applicationName() << ": cannot write " << path << ": "
                        << reason << '\n';
}

bool writeCsv(QIODevice& device, QString& reason, std::span<const std::int32_t> hits, int needles,
              int deduction)
{
    const auto put = [&](const std::string& text) {
        if (device.write(text.data(), qint64(text.size())) != qint64(text.size())) {
            reason = device.errorString();
            return false;
        }
        return true;
    };
    if (!put(kCsvHeader)) {
        return false;
    }
    for (std::size_t first = 0; first < hits.size(); first += kCsvSlice) {
        const auto slice = hits.subspan(first, std::min(kCsvSlice, hits.size() - first));
        if (!put(csvRows(slice, static_cast<std::int64_t>(first) + 1, needles, deduction))) {
            return false;
        }
    }
    return true;
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

// Returns why the plot could not be written, or an empty text.
QString writePlot(const QString& path, std::span<const std::int32_t> hits,
                  const BatchSummary& summary)
{
    // Every run with the same hits has the same estimate.
    std::map<std::int32_t, std::int64_t> runsWithHits;
    for (const std::int32_t h : hits) {
        ++runsWithHits[h];
    }
    std::vector<Tally> estimates;
    for (const auto& [h, runs] : runsWithHits) {
        if (const auto estimate = runResult(summary.needles, summary.deduction, h).estimate) {
            estimates.push_back({*estimate, runs});
        }
    }
    if (estimates.empty()) {
        return QStringLiteral("no run gave an estimate to plot");
    }
    const QImage image =
        HistogramPlot(estimates, *summary.withDeduction.mean).image(plotTitle(summary));
    return writeOutputFile(path, [&](QIODevice& device, QString& reason) {
        QImageWriter writer(&device, "png");
        if (!writer.write(image)) {
            reason = writer.errorString();
            return false;
        }
        return true;
    });
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
    for (const QString& path : {options.csvPath, options.plotPath}) {
        if (path.isEmpty()) {
            continue;
        }
        if (const QString reason = probeOutputFile(path); !reason.isEmpty()) {
            complainCannotWrite(path, reason);
            return 2;
        }
    }
    return 0;
}

int runStats(const StatsOptions& options)
{
    const BatchPlan& plan = options.plan;
    const int deduction = deductionFor(plan.needles);
    const double exactRate = exactHitRate();
    std::atomic<std::int64_t> thrown{0};
    std::vector<std::int32_t> hits;
    {
        const std::int64_t needles = plan.runs * plan.needles;
        std::optional<ProgressBar> bar;
        if (ProgressBar::wanted(stderr, needles)) {
            bar.emplace(thrown, needles, stderr);
        }
        hits = runBatch(plan, thrown);
    }
    const BatchSummary summary = summarise(hits, plan.needles, deduction, exactRate);
    const std::string text = summaryText(summary, plan.seed);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);

    int status = 0;
    if (!options.csvPath.isEmpty()) {
        const QString reason =
            writeOutputFile(options.csvPath, [&](QIODevice& device, QString& why) {
                return writeCsv(device, why, hits, plan.needles, deduction);
            });
        if (!reason.isEmpty()) {
            complainCannotWrite(options.csvPath, reason);
            status = 1;
        }
    }
    if (!options.plotPath.isEmpty()) {
        if (const QString reason = writePlot(options.plotPath, hits, summary); !reason.isEmpty()) {
            complainCannotWrite(options.plotPath, reason);
            status = 1;
        }
    }
    return status;
}

}  // namespace buffon
