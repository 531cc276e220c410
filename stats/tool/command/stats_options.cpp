// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/command/stats_options.h"

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <climits>
#include <cmath>

#include "experiment/lesson_modes.h"
#include "experiment/run_size.h"
#include "stats/run_seed.h"
#include "stats/tool/command/command_line.h"
#include "stats/tool/complaint.h"
#include "stats/tool/files/output_path.h"

namespace buffon {
namespace {

constexpr std::int64_t kLargestThreadCount = 256;
constexpr std::int64_t kMostNeedles = INT_MAX;
// More points than this would hide the regions they are drawn over.
constexpr std::int64_t kMostSpaceNeedles = 100'000;
// Beyond any estimate of pi a run can give: needles over one hit, twice that for the textbook.
constexpr double kHighestEstimate = 1e10;
// From a small window's picture, its text still legible, to an 8K screen's.
constexpr int kNarrowestPicture = 640;
constexpr int kLowestPicture = 360;
constexpr int kWidestPicture = 7680;
constexpr int kHighestPicture = 4320;

// A refusal of the command line, or nothing.
using Check = std::optional<std::string>;

// Blanks around a typed or pasted value are not part of it; only file names keep theirs.
std::string trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\n\r\f\v");
    return first == std::string_view::npos
               ? std::string()
               : std::string(text.substr(first, text.find_last_not_of(" \t\n\r\f\v") + 1 - first));
}

// A run size as the window's button shows it: digits in groups of three, "50,000".
std::string groupedText(int needles)
{
    std::string text = std::to_string(needles);
    for (auto at = static_cast<std::ptrdiff_t>(text.size()) - 3; at > 0; at -= 3) {
        text.insert(static_cast<std::size_t>(at), 1, ',');
    }
    return text;
}

// A whole number in [low, high].
std::optional<std::int64_t> wholeNumber(std::string_view given, std::int64_t low, std::int64_t high)
{
    const std::string text = trimmed(given);
    std::int64_t value = 0;
    const char* start = text.data() + (text.starts_with("+") && !text.starts_with("+-") ? 1 : 0);
    const auto [end, error] = std::from_chars(start, text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
        value > high) {
        return std::nullopt;
    }
    return value;
}

std::string rangeError(const std::string& option, std::int64_t low, std::int64_t high,
                       const std::string& given)
{
    return "--" + option + " must be a whole number from " + std::to_string(low) + " to " +
           std::to_string(high) + ", not \"" + given + "\"";
}

// The deductions, as the help text gives them.
std::string deductionsText()
{
    std::string losing;
    std::string last;
    std::string keeping;
    for (const RunSize& size : kRunSizes) {
        if (size.deduction == 0) {
            keeping += (keeping.empty() ? "" : ", ") + std::to_string(size.needles);
            continue;
        }
        if (!last.empty()) {
            losing += (losing.empty() ? "" : ", ") + last;
        }
        last = std::to_string(size.needles) + (losing.empty() && last.empty() ? " needles" : "") +
               " lose " + std::to_string(size.deduction);
    }
    return "The window's run sizes take its deductions from the hit count:\n" + losing + " and " +
           last + "; " + keeping + " and other counts lose nothing.";
}

std::string ruleHelp()
{
    std::string help;
    forEachRule([&]<typename Rule>(std::type_identity<Rule>) {
        help += std::string(help.empty() ? "" : "; or ") + std::string(Rule::kTexts.name) +
                (help.empty() ? " (the default): " : ": ") + std::string(Rule::kTexts.help);
    });
    return help + '.';
}

// Every option, in the order --help lists them.
std::vector<KnownOption> knownOptions()
{
    std::vector<KnownOption> known{
        {"needles", "N", "Needles per run (default 1000)."},
        {"runs", "R", "Number of runs (default 1000)."},
        {"seed", "S",
         "Seed of the batch, 0 to " + std::to_string(kLargestSeed) +
             ": the same seed gives the same runs whatever the thread count, and other seeds "
             "unrelated runs. Default: from the clock, as the window seeds its runs."},
        {"reseed", "VALUE",
         "Throws the one run that reseeds from VALUE, as a window run reseeded from it does: the "
         "number a window's mode line (--show-reseed) or a CSV row's reseed column names. Not "
         "with --seed; --runs, if given, must be 1."},
        {"threads", "T", "Worker threads (default: one per core)."},
        {"rule", "RULE", ruleHelp()},
    };
    forEachRule([&]<typename Rule>(std::type_identity<Rule>) {
        for (const auto& parameter : Rule::kParameters) {
            known.push_back({std::string(parameter.name), std::string(parameter.valueName),
                             std::string(parameter.help)});
        }
    });
    for (const OutputKind& kind : outputKinds()) {
        known.push_back({std::string(kind.option), "FILE", std::string(kind.help)});
    }
    known.push_back({"space-needles", "K",
                     "How many needles of run 1 --space shows (default 2000, at most " +
                         std::to_string(kMostSpaceNeedles) + " and --needles)."});
    known.push_back({"intervals-runs", "K",
                     "How many of the first runs --intervals shows (default and at most " +
                         std::to_string(kFirstRuns) + "; 20 read well on a projector)."});
    known.push_back(
        {"range", "LOW:HIGH",
         "The axis of estimates of pi in --plot, --intervals and a --trace picture, the same in "
         "each, so that two batches can stand side by side; estimates beyond it are marked at "
         "its edge. Default: each picture fits its own."});
    known.push_back({"size", "WIDTHxHEIGHT",
                     "The pictures' size in pixels, from " + std::to_string(kNarrowestPicture) +
                         'x' + std::to_string(kLowestPicture) + " to " +
                         std::to_string(kWidestPicture) + 'x' + std::to_string(kHighestPicture) +
                         " (default 960x560; 1920x1080 for a projector), their text growing with "
                         "them; an SVG or a PDF is as large, at 96 pixels to the inch."});
    known.push_back({"quiet", "", "Print no summary."});
    return known;
}

// A number of needles, as a whole number or as the window's buttons show it: "50,000"; a sign
// of plus is taken before either, as before every count.
std::optional<std::int64_t> needleCount(std::string_view given)
{
    const std::string text = trimmed(given);
    const std::string_view unsignedText =
        std::string_view(text).substr(text.starts_with('+') ? 1 : 0);
    for (const RunSize& size : kRunSizes) {
        if (unsignedText == groupedText(size.needles)) {
            return size.needles;
        }
    }
    return wholeNumber(given, 1, kMostNeedles);
}

// One run, named by the value it reseeds from.
Check readReseed(const OptionValues& given, const std::string& text, BatchPlan& plan)
{
    const auto value = readReseedValue(text);
    if (!value) {
        return "--reseed takes a reseed value, a non-negative single-precision number in "
               "decimal, not '" +
               text + "'";
    }
    if (given.isSet("seed")) {
        return std::string("--reseed names one run and cannot go with --seed");
    }
    if (plan.runs != 1) {
        return "--reseed names one run; --runs must be 1, not " + *given.value("runs");
    }
    plan.reseedBits = std::bit_cast<std::uint32_t>(*value);
    return std::nullopt;
}

Check readCounts(const OptionValues& given, std::uint32_t clockSeed, int cores, BatchPlan& plan)
{
    const auto needles = needleCount(given.value("needles").value_or("1000"));
    if (!needles) {
        return rangeError("needles", 1, kMostNeedles, *given.value("needles"));
    }
    plan.needles = static_cast<int>(*needles);
    const std::string runsText = given.value("runs").value_or(given.isSet("reseed") ? "1" : "1000");
    const auto runs = wholeNumber(runsText, 1, kDistinctRuns);
    if (!runs) {
        return wholeNumber(runsText, 1, INT64_MAX)
                   ? "--runs can be at most " + std::to_string(kDistinctRuns) +
                         ": each run reseeds from a single-precision number as the window does, "
                         "and there are no more of them, so a larger batch would repeat runs"
                   : rangeError("runs", 1, kDistinctRuns, runsText);
    }
    plan.runs = *runs;
    plan.seed = clockSeed;
    if (const auto text = given.value("seed")) {
        const auto seed = wholeNumber(*text, 0, kLargestSeed);
        if (!seed) {
            return rangeError("seed", 0, kLargestSeed, *text);
        }
        plan.seed = static_cast<std::uint32_t>(*seed);
    }
    if (const auto text = given.value("reseed")) {
        if (Check refusal = readReseed(given, *text, plan)) {
            return refusal;
        }
    }
    plan.threads = std::max(cores, 1);
    if (const auto text = given.value("threads")) {
        const auto threads = wholeNumber(*text, 1, kLargestThreadCount);
        if (!threads) {
            return rangeError("threads", 1, kLargestThreadCount, *text);
        }
        plan.threads = static_cast<int>(*threads);
    }
    return std::nullopt;
}

// A finite number.
std::optional<double> finiteNumber(std::string_view given)
{
    const std::string text = trimmed(given);
    const char* start = text.data() + (text.starts_with("+") && !text.starts_with("+-") ? 1 : 0);
    double value = 0;
    const auto [end, error] = std::from_chars(start, text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// A finite positive number, as a rule's parameters take them.
std::optional<double> positiveNumber(std::string_view given)
{
    const auto value = finiteNumber(given);
    return value && *value > 0 ? value : std::nullopt;
}

Check readRule(const OptionValues& given, NeedleRule& rule)
{
    const std::string name = trimmed(given.value("rule").value_or("window"));
    const auto named = ruleNamed(name);
    if (!named) {
        std::string names;
        forEachRule([&]<typename Rule>(std::type_identity<Rule>) {
            names += (names.empty() ? "" : " or ") + std::string(Rule::kTexts.name);
        });
        return "--rule is " + names + ", not \"" + *given.value("rule") + "\"";
    }
    rule = *named;
    std::optional<std::string> refusal;
    forEachRule([&]<typename Rule>(std::type_identity<Rule>) {
        for (const auto& parameter : Rule::kParameters) {
            const auto text = given.value(std::string(parameter.name));
            if (!text || refusal) {
                continue;
            }
            const std::string option = "--" + std::string(parameter.name);
            const auto value = positiveNumber(*text);
            if (!std::holds_alternative<Rule>(rule)) {
                refusal = option + " belongs to --rule " + std::string(Rule::kTexts.name) +
                          ", not --rule " + name;
            } else if (!value) {
                refusal = option + " must be a finite positive number, not \"" + *text + "\"";
            } else {
                std::get<Rule>(rule).*parameter.value = *value;
            }
        }
    });
    if (!refusal && !buffon::refusal(rule).empty()) {
        refusal = "--rule " + description(rule) + ": " + buffon::refusal(rule);
    }
    return refusal;
}

// "FILE.csv, FILE.png or FILE.svg"
std::string namesOf(const OutputKind& kind)
{
    std::string names;
    for (std::size_t i = 0; i < kind.formats.size(); ++i) {
        const std::string_view suffix = kind.formats[i].suffix;
        names += std::string(i == 0                         ? ""
                             : i + 1 == kind.formats.size() ? " or "
                                                            : ", ") +
                 (suffix == kNoSuffix ? "FILE without a suffix" : "FILE" + std::string(suffix));
    }
    return names;
}

Check readOutputs(const OptionValues& given, const BatchPlan& plan, StatsOptions& options)
{
    for (const OutputKind& kind : outputKinds()) {
        const auto path = given.value(std::string(kind.option));
        if (!path) {
            continue;
        }
        const std::string option = "--" + std::string(kind.option);
        if (path->empty()) {
            return option + " needs a file name";
        }
        const OutputFormat* format = formatFor(kind, *path);
        if (!format) {
            return option + " writes " + namesOf(kind) + ", not \"" + *path + "\"";
        }
        if (kind.needsEstimates && !estimateFactor(plan.rule)) {
            return option + " shows estimates of pi, and --rule " + description(plan.rule) +
                   " gives none";
        }
        options.outputs.push_back({&kind, format, *path});
    }
    for (const RequestedOutput& output : options.outputs) {
        const std::string option = "--" + std::string(output.kind->option);
        if (output.kind->runs == RunsNeeded::Trace && given.isSet("runs") && plan.runs > 1) {
            return option + " follows one run; --runs must be 1, not " + *given.value("runs");
        }
        if (output.kind->runs == RunsNeeded::Batch && options.traced()) {
            return option + " cannot go with --trace: it is drawn from a batch's runs, and a " +
                   "trace follows one run without a batch";
        }
    }
    return std::nullopt;
}

// How many needles --space shows: all of run 1 where it has fewer than the default.
Check readSpaceNeedles(const OptionValues& given, StatsOptions& options)
{
    const auto text = given.value("space-needles");
    if (!text) {
        options.pictures.spaceNeedles =
            std::min(options.pictures.spaceNeedles, options.plan.needles);
        return std::nullopt;
    }
    if (!given.isSet("space")) {
        return std::string("--space-needles belongs to --space");
    }
    const std::int64_t most = std::min<std::int64_t>(kMostSpaceNeedles, options.plan.needles);
    const auto needles = wholeNumber(*text, 1, most);
    if (!needles) {
        return rangeError("space-needles", 1, most, *text);
    }
    options.pictures.spaceNeedles = static_cast<int>(*needles);
    return std::nullopt;
}

// --size: the pictures' pixels.
Check readPictureSize(const OptionValues& given, StatsOptions& options)
{
    const auto text = given.value("size");
    if (!text) {
        return std::nullopt;
    }
    if (!options.drawsPictures()) {
        return std::string(
            "--size belongs to the pictures: --plot, --space, --intervals or a "
            "--trace picture");
    }
    const std::size_t by = text->find_first_of("xX");
    const auto width = by == std::string::npos
                           ? std::nullopt
                           : wholeNumber(text->substr(0, by), kNarrowestPicture, kWidestPicture);
    const auto height = by == std::string::npos
                            ? std::nullopt
                            : wholeNumber(text->substr(by + 1), kLowestPicture, kHighestPicture);
    if (!width || !height) {
        return "--size must be WIDTHxHEIGHT from " + std::to_string(kNarrowestPicture) + 'x' +
               std::to_string(kLowestPicture) + " to " + std::to_string(kWidestPicture) + 'x' +
               std::to_string(kHighestPicture) + ", not \"" + *text + '"';
    }
    options.pictures.width = static_cast<int>(*width);
    options.pictures.height = static_cast<int>(*height);
    return std::nullopt;
}

// --range: one axis of estimates for every picture that shows them.
Check readRange(const OptionValues& given, StatsOptions& options)
{
    const auto text = given.value("range");
    if (!text) {
        return std::nullopt;
    }
    const bool drawn = std::any_of(options.outputs.begin(), options.outputs.end(),
                                   [](const RequestedOutput& output) {
                                       return output.format->picture && output.kind->estimateAxis;
                                   });
    if (!drawn) {
        return std::string("--range belongs to --plot, --intervals or a --trace picture");
    }
    if (!estimateFactor(options.plan.rule)) {
        return "--range is an axis of estimates of pi, and --rule " +
               description(options.plan.rule) + " gives none";
    }
    const std::size_t colon = text->find(':');
    const auto low = finiteNumber(text->substr(0, colon));
    const auto high =
        colon == std::string::npos ? std::nullopt : finiteNumber(text->substr(colon + 1));
    if (!low || !high || *low < 0 || *high > kHighestEstimate || *low >= *high) {
        return "--range must be LOW:HIGH, numbers from 0 to 1e10 and LOW below HIGH, not \"" +
               *text + '"';
    }
    // Closer ends than this would leave the axis no room for the digits of its ticks.
    if (*high - *low < *high * 1e-6) {
        return "--range must span a millionth of HIGH at least, not \"" + *text + '"';
    }
    options.pictures.range = ValueRange{*low, *high};
    return std::nullopt;
}

// What the pictures show and how large.
Check readPictureOptions(const OptionValues& given, StatsOptions& options)
{
    if (const auto text = given.value("intervals-runs")) {
        const auto runs = wholeNumber(*text, 1, kFirstRuns);
        if (!given.isSet("intervals")) {
            return std::string("--intervals-runs belongs to --intervals");
        }
        if (!runs) {
            return rangeError("intervals-runs", 1, kFirstRuns, *text);
        }
        options.pictures.intervalRuns = static_cast<int>(*runs);
    }
    for (const auto read : {readSpaceNeedles, readRange, readPictureSize}) {
        if (Check refusal = read(given, options)) {
            return refusal;
        }
    }
    return std::nullopt;
}

// Two outputs that reach one file would each lose the other, or be mixed into each other; a
// terminal or another device keeps none of what it is given, and may take both.
bool clash(const FileIdentity& one, const FileIdentity& other)
{
    return one == other && !one.device;
}

Check outputsApart(const std::vector<RequestedOutput>& outputs)
{
    std::vector<Destination> destinations;
    for (const RequestedOutput& output : outputs) {
        destinations.push_back(destinationOf(output.path));
    }
    // One descriptor named twice is the same file even on a terminal.
    const auto sameDescriptor = [](const Destination& one, const Destination& other) {
        return one.kind == Destination::Kind::Descriptor &&
               other.kind == Destination::Kind::Descriptor && one.descriptor == other.descriptor;
    };
    for (std::size_t one = 0; one < outputs.size(); ++one) {
        for (std::size_t other = one + 1; other < outputs.size(); ++other) {
            if (sameDescriptor(destinations[one], destinations[other]) ||
                clash(identityOf(destinations[one]), identityOf(destinations[other]))) {
                return "--" + std::string(outputs[one].kind->option) + " and --" +
                       std::string(outputs[other].kind->option) + " name the same file";
            }
        }
    }
    return std::nullopt;
}

// The summary goes to standard output, or to standard error when an output is written to
// standard output's file. Where the summary's file is an output's too, both are kept when each
// is written through its own descriptor of one open file, one after the other, as `2>&1` asks;
// anything else would write one over the other, and is refused.
Check placeSummary(StatsOptions& options)
{
    if (options.quiet) {
        return std::nullopt;
    }
    const FileIdentity standardOutput = identityOfDescriptor(STDOUT_FILENO);
    for (const RequestedOutput& output : options.outputs) {
        const Destination destination = destinationOf(output.path);
        options.summaryAside = options.summaryAside ||
                               (destination.kind == Destination::Kind::Descriptor &&
                                destination.descriptor == STDOUT_FILENO) ||
                               clash(identityOf(destination), standardOutput);
    }
    const int summary = options.summaryAside ? STDERR_FILENO : STDOUT_FILENO;
    for (const RequestedOutput& output : options.outputs) {
        const Destination destination = destinationOf(output.path);
        const bool ownDescriptor =
            destination.kind == Destination::Kind::Descriptor && destination.descriptor != summary;
        if (!ownDescriptor && clash(identityOf(destination), identityOfDescriptor(summary))) {
            return "--" + std::string(output.kind->option) +
                   " would have the summary written into its file, on standard " +
                   (options.summaryAside ? "error" : "output") + "; give --quiet";
        }
    }
    return std::nullopt;
}

ParsedCommandLine refuse(const std::string& reason)
{
    return {std::nullopt, printable(reason), 2};
}

}  // namespace

bool StatsOptions::traced() const
{
    return std::any_of(outputs.begin(), outputs.end(), [](const RequestedOutput& output) {
        return output.kind->runs == RunsNeeded::Trace;
    });
}

bool StatsOptions::drawsPictures() const
{
    return std::any_of(outputs.begin(), outputs.end(), [](const RequestedOutput& output) {
        return output.format->picture;
    });
}

ParsedCommandLine parseCommandLine(std::span<const std::string> arguments, std::uint32_t clockSeed,
                                   int cores)
{
    const std::vector<KnownOption> known = knownOptions();
    std::string error;
    const auto given = readOptions(arguments.subspan(1), known, error);
    if (!given) {
        return refuse(error);
    }
    if (given->help) {
        const std::string description =
            "Throws many runs of needles exactly as the Buffon's needle window does, without "
            "drawing them,\nand reports how the hit fraction and the estimate of pi scatter from "
            "run to run.\n\n" +
            deductionsText();
        return {std::nullopt, helpText(printable(arguments.front()), description, known), 0};
    }
    if (given->version) {
        return {std::nullopt, std::string(kProgramName) + ' ' + BUFFON_VERSION + '\n', 0};
    }
    StatsOptions options;
    options.quiet = given->isSet("quiet");
    if (Check refusal = readCounts(*given, clockSeed, cores, options.plan)) {
        return refuse(*refusal);
    }
    if (Check refusal = readRule(*given, options.plan.rule)) {
        return refuse(*refusal);
    }
    if (Check refusal = readOutputs(*given, options.plan, options)) {
        return refuse(*refusal);
    }
    if (Check refusal = readPictureOptions(*given, options)) {
        return refuse(*refusal);
    }
    if (Check refusal = outputsApart(options.outputs)) {
        return refuse(*refusal);
    }
    if (Check refusal = placeSummary(options)) {
        return refuse(*refusal);
    }
    if (options.traced()) {
        options.plan.runs = 1;  // a trace follows the first run of the batch
    }
    return {options, {}, 0};
}

}  // namespace buffon
