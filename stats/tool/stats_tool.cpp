// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/stats_tool.h"

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <memory>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include "experiment/local_clock.h"
#include "stats/tool/complaint.h"
#include "stats/tool/files/output_file.h"
#include "stats/tool/progress_bar.h"

namespace buffon {
namespace {

// An output on its way: its bytes go to its file as its exporter gives them, the file opened
// with the first of them. A failure is said once, and the output is then left alone.
class Output {
public:
    // `file` makes the output's file: a file is never copied, since it may own a temporary.
    template <typename MakeFile>
    Output(const Exporter& exporter, MakeFile file) : exporter_(exporter), file_(file())
    {
    }

    const Exporter& exporter() const { return exporter_; }
    bool failed() const { return failed_; }

    bool write(std::string_view bytes)
    {
        if (!failed_ && (bytes.empty() || ((opened_ || open()) && file_.write(bytes)))) {
            return true;
        }
        return fail(file_.error());
    }
    // The rest of its bytes, then the file takes its place.
    bool finish(const Results& results)
    {
        try {
            return write(exporter_.finish(results)) && (opened_ || open() || fail(file_.error())) &&
                   (file_.commit() || fail(file_.error()));
        } catch (const NothingToShow& lack) {
            complain(file_.shownName() + " is not written: " + lack.what());
            failed_ = true;
            return false;
        } catch (const std::runtime_error& error) {
            return fail(error.what());
        }
    }

private:
    bool open() { return opened_ = file_.open(); }
    bool fail(const std::string& reason)
    {
        if (!failed_) {
            complainCannotWrite(file_.shownName(), reason);
        }
        failed_ = true;
        return false;
    }

    const Exporter& exporter_;
    OutputFile file_;
    bool opened_ = false;
    bool failed_ = false;
};

std::vector<std::unique_ptr<Output>> outputsOf(const StatsOptions& options)
{
    std::vector<std::unique_ptr<Output>> outputs;
    if (!options.quiet) {
        outputs.push_back(std::make_unique<Output>(summaryExporter(), [&options] {
            return options.summaryAside ? OutputFile::standardError() : OutputFile("-");
        }));
    }
    for (const RequestedOutput& output : options.outputs) {
        outputs.push_back(std::make_unique<Output>(output.format->exporter, [&output] {
            return OutputFile(output.path);
        }));
    }
    return outputs;
}

// The progress bar shares standard error's terminal with nothing written while the runs are
// counted.
bool writesToTerminal(const StatsOptions& options)
{
    const FileIdentity terminal = identityOfDescriptor(STDERR_FILENO);
    return std::any_of(options.outputs.begin(), options.outputs.end(), [&](const auto& output) {
        return identityOf(destinationOf(output.path)) == terminal;
    });
}

struct Counted {
    HitTally tally;
    std::vector<std::int32_t> firstRuns;
    std::vector<TracePoint> trace;
};

// Counts the runs, a batch or the one run of a trace, handing each block of them to the
// outputs that grow as they come.
Counted countRuns(const StatsOptions& options, std::vector<std::unique_ptr<Output>>& outputs)
{
    const BatchPlan& plan = options.plan;
    for (auto& output : outputs) {
        output->write(output->exporter().header(plan));
    }
    Counted counted;
    std::atomic<std::int64_t> thrown{0};
    const double needles = static_cast<double>(plan.runs) * plan.needles;
    std::optional<ProgressBar> bar;
    if (ProgressBar::wanted(stderr, needles) && !writesToTerminal(options)) {
        try {
            bar.emplace(thrown, needles, stderr);
        } catch (const std::system_error&) {
            // No thread to draw it: the work goes on without.
        }
    }
    const auto take = [&](std::span<const std::int32_t> hits, std::int64_t firstRun) {
        for (const std::int32_t h : hits) {
            ++counted.tally[h];
            if (counted.firstRuns.size() < kFirstRuns) {
                counted.firstRuns.push_back(h);
            }
        }
        for (auto& output : outputs) {
            output->write(output->exporter().rows(plan, hits, firstRun));
        }
        // Once every output has failed, nothing needs the runs still to come.
        return std::any_of(outputs.begin(), outputs.end(), [](const auto& output) {
            return !output->failed();
        });
    };
    if (options.traced()) {
        counted.trace = traceReseededRun(plan.rule, plan.needles, PlanReseeds(plan)(0), thrown);
        const auto hits = static_cast<std::int32_t>(counted.trace.back().hits);
        take(std::span(&hits, 1), 0);
    } else {
        runBatch(plan, thrown, take);
    }
    return counted;
}

}  // namespace

ParsedCommandLine readCommandLine(std::span<const std::string> arguments)
{
    const auto clockSeed = std::bit_cast<std::uint32_t>(LocalClock().secondsSinceMidnight());
    return parseCommandLine(arguments, clockSeed,
                            static_cast<int>(std::thread::hardware_concurrency()));
}

int reportCommandLine(const ParsedCommandLine& command)
{
    if (command.status != 0) {
        complain(command.message);
        return command.status;
    }
    OutputFile help("-");
    if (help.open() && help.write(command.message) && help.commit()) {
        return 0;
    }
    complainCannotWrite(help.shownName(), help.error());
    return 1;
}

int checkOutputFiles(const StatsOptions& options)
{
    for (const RequestedOutput& output : options.outputs) {
        const OutputFile file(output.path);
        if (const std::string reason = file.probe(); !reason.empty()) {
            complainCannotWrite(file.shownName(), reason);
            return 1;
        }
    }
    return 0;
}

int runStats(const StatsOptions& options)
{
    std::vector<std::unique_ptr<Output>> outputs = outputsOf(options);
    const Counted counted = countRuns(options, outputs);
    const Inference inference = inferenceOf(counted.tally, options.plan);
    const BatchSummary summary = summarise(counted.tally, options.plan, inference.z);
    const Results results{options.plan, kProgramName,      BUFFON_VERSION, counted.tally,   summary,
                          inference,    counted.firstRuns, counted.trace,  options.pictures};
    int status = 0;
    for (auto& output : outputs) {
        status = output->finish(results) ? status : 1;
    }
    return status;
}

}  // namespace buffon
