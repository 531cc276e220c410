// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/stats_tool.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>
#include <QTextStream>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <thread>
#include <vector>

#include "experiment/local_clock.h"
#include "experiment/run_size.h"
#include "stats/batch_summary.h"
#include "stats/csv_text.h"
#include "stats/summary_json.h"
#include "stats/summary_text.h"
#include "stats/tool/histogram_plot.h"
#include "stats/tool/output_file.h"
#include "stats/tool/plot_file.h"
#include "stats/tool/progress_bar.h"
#include "stats/tool/stats_options.h"
#include "stats/tool/trace_plot.h"
#include "stats/trace.h"

namespace buffon {
namespace {

void complainCannotWrite(const OutputFile& file)
{
    QTextStream(stderr) << QCoreApplication::applicationName() << ": cannot write " << file.path()
                        << ": " << file.error() << '\n';
}

QString plotTitle(const BatchSummary& summary, const NeedleRule& rule)
{
    QString title =
        summary.runs == 1
            ? QStringLiteral("Estimate of π from one run of %1 needles")
            : QStringLiteral("Estimates of π from %1 runs of %2 needles").arg(summary.runs);
    title = title.arg(summary.needles);
    if (summary.deduction != 0) {
        title += QStringLiteral(", deduction %1").arg(summary.deduction);
    }
    if (rule.kind != NeedleRule::Kind::Window) {
        title += QStringLiteral(", %1").arg(QString::fromStdString(rule.description()));
    }
    if (summary.withDeduction.noEstimate != 0) {
        title += QStringLiteral(" (%1 without an estimate)").arg(summary.withDeduction.noEstimate);
    }
    return title;
}

QByteArray histogramFile(const QString& path, const HitTally& tally, const BatchSummary& summary,
                         const NeedleRule& rule)
{
    // Every run with the same hits has the same estimate.
    const std::vector<Tally> estimates =
        estimatesOf(tally, summary.needles, summary.deduction, *rule.estimateFactor());
    const HistogramPlot plot(estimates, *summary.withDeduction.mean);
    const QString title = plotTitle(summary, rule);
    return plotFile(path, {HistogramPlot::kWidth, HistogramPlot::kHeight}, title,
                    [&](QPainter& painter) {
                        plot.paint(painter, title);
                    });
}

std::string number(double value)
{
    if (std::isnan(value)) {
        return {};
    }
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

QByteArray traceFile(const QString& path, const NeedleRule& rule,
                     const std::vector<TracePoint>& trace, std::uint32_t seed)
{
    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
        std::string table = rule.estimateFactor()
                                ? "needles,hits,estimate,limit,band_low,band_high\n"
                                : "needles,hits,hit_fraction,limit,band_low,band_high\n";
        for (const TracePoint& point : trace) {
            const TraceValues values = traceValues(rule, point);
            table += std::to_string(point.needles) + ',' + std::to_string(point.hits) + ',' +
                     number(values.value) + ',' + number(values.limit) + ',' + number(values.low) +
                     ',' + number(values.high) + '\n';
        }
        return QByteArray::fromStdString(table);
    }
    const QString title =
        QStringLiteral("One run of %1 needles as it goes; rule: %2, seed %3")
            .arg(QLocale(QLocale::English).toString(qlonglong(trace.back().needles)))
            .arg(QString::fromStdString(rule.description()))
            .arg(seed);
    const TracePlot plot(rule, trace);
    return plotFile(path, {TracePlot::kWidth, TracePlot::kHeight}, title, [&](QPainter& painter) {
        plot.paint(painter, title);
    });
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
    for (const QString& path :
         {options.csvPath, options.jsonPath, options.plotPath, options.tracePath}) {
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
    const NeedleRule& rule = plan.rule;
    const int deduction = rule.deduction(plan.needles);
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
    std::vector<TracePoint> trace;
    std::atomic<std::int64_t> thrown{0};
    {
        const double needles = static_cast<double>(plan.runs) * plan.needles;
        std::optional<ProgressBar> bar;
        if (ProgressBar::wanted(stderr, needles)) {
            bar.emplace(thrown, needles, stderr);
        }
        const auto take = [&](std::span<const std::int32_t> hits, std::int64_t firstRun) {
            for (const std::int32_t h : hits) {
                ++tally[h];
            }
            if (csv) {
                csv->write(csvRows(hits, firstRun + 1, plan.needles, deduction));
            }
        };
        if (options.tracePath.isEmpty()) {
            runBatch(plan, thrown, take);
        } else {
            trace = traceRun(rule, plan.needles, plan.seed, thrown);
            const auto hits = static_cast<std::int32_t>(trace.back().hits);
            take(std::span(&hits, 1), 0);
        }
    }
    if (csv && !csv->commit()) {
        complainCannotWrite(*csv);
        status = 1;
    }

    const BatchSummary summary =
        summarise(tally, plan.needles, deduction, rule.exactRate(), rule.estimateFactor());
    const std::string program = QCoreApplication::applicationName().toStdString();
    const std::string version = QCoreApplication::applicationVersion().toStdString();
    if (!options.quiet) {
        const bool stdoutTaken = options.csvPath == QLatin1String("-") ||
                                 options.jsonPath == QLatin1String("-") ||
                                 options.plotPath == QLatin1String("-");
        const std::string text = summaryText(summary, plan.seed, rule, program + ' ' + version);
        std::FILE* to = stdoutTaken ? stderr : stdout;
        std::fwrite(text.data(), 1, text.size(), to);
        std::fflush(to);
    }
    if (!options.jsonPath.isEmpty()) {
        OutputFile json(options.jsonPath);
        status =
            writeWhole(json, summaryJson(summary, plan.seed, rule, program, version)) ? status : 1;
    }
    if (!options.plotPath.isEmpty()) {
        OutputFile plot(options.plotPath);
        if (!summary.withDeduction.mean) {
            QTextStream(stderr) << QCoreApplication::applicationName() << ": cannot write "
                                << plot.path() << ": no run gave an estimate to plot"
                                << (rule.estimateFactor() ? "" : " (this rule gives none)") << '\n';
            status = 1;
        } else {
            const QByteArray bytes = histogramFile(options.plotPath, tally, summary, rule);
            status = writeWhole(plot, {bytes.constData(), std::size_t(bytes.size())}) ? status : 1;
        }
    }
    if (!options.tracePath.isEmpty()) {
        OutputFile file(options.tracePath);
        const QByteArray bytes = traceFile(options.tracePath, rule, trace, plan.seed);
        status = writeWhole(file, {bytes.constData(), std::size_t(bytes.size())}) ? status : 1;
    }
    return status;
}

}  // namespace buffon
