// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/stats_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cmath>
#include <limits>

#include "experiment/run_size.h"
#include "stats/tool/output_file.h"

namespace buffon {
namespace {

constexpr qint64 kLargestThreadCount = 256;

// One line, whatever was typed: control characters are shown escaped, not acted on.
QString escaped(const QString& text)
{
    QString line;
    for (const QChar c : text) {
        if (c == QLatin1Char('\n')) {
            line += QStringLiteral("\\n");
        } else if (c == QLatin1Char('\t')) {
            line += QStringLiteral("\\t");
        } else if (c.category() == QChar::Other_Control) {
            line += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        } else {
            line += c;
        }
    }
    return line;
}

ParsedCommandLine refuse(const QString& reason)
{
    return {std::nullopt,
            QCoreApplication::applicationName() + QStringLiteral(": ") + escaped(reason), 2};
}

// A run size as the window's button shows it: digits in groups of three, "50,000".
QString groupedText(int needles)
{
    QString text = QString::number(needles);
    for (qsizetype at = text.size() - 3; at > 0; at -= 3) {
        text.insert(at, QLatin1Char(','));
    }
    return text;
}

// A whole number in [low, high]; a run size written as on the window's buttons also counts.
std::optional<qint64> wholeNumber(const QString& text, qint64 low, qint64 high)
{
    bool ok = false;
    qint64 value = text.toLongLong(&ok);
    for (const RunSize& size : kRunSizes) {
        if (text == groupedText(size.needles)) {
            value = size.needles;
            ok = true;
        }
    }
    if (!ok || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

// The deductions, as the help text gives them.
QString deductionsText()
{
    QStringList losing;
    QStringList keeping;
    for (const RunSize& size : kRunSizes) {
        if (size.deduction == 0) {
            keeping << QString::number(size.needles);
        } else {
            const QString form = losing.isEmpty() ? QStringLiteral("%1 needles lose %2")
                                                  : QStringLiteral("%1 lose %2");
            losing << form.arg(size.needles).arg(size.deduction);
        }
    }
    const QString last = losing.takeLast();
    return QStringLiteral(
               "The window's run sizes take its deductions from the hit count:\n%1 and "
               "%2; %3 and other counts lose nothing.")
        .arg(losing.join(QStringLiteral(", ")), last, keeping.join(QStringLiteral(", ")));
}

QString rangeError(const QString& option, qint64 low, qint64 high, const QString& given)
{
    return QStringLiteral("--%1 must be a whole number from %2 to %3, not \"%4\"")
        .arg(option)
        .arg(low)
        .arg(high)
        .arg(given);
}

}  // namespace

ParsedCommandLine parseCommandLine(const QStringList& arguments, std::uint32_t clockSeed, int cores)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Throws many runs of needles exactly as the Buffon's needle window does, without "
            "drawing them,\nand reports how the hit fraction and the estimate of pi scatter from "
            "run to run.\n\n") +
        deductionsText());
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption needlesOption(QStringLiteral("needles"),
                                           QStringLiteral("Needles per run (default 1000)."),
                                           QStringLiteral("N"), QStringLiteral("1000"));
    const QCommandLineOption runsOption(QStringLiteral("runs"),
                                        QStringLiteral("Number of runs (default 1000)."),
                                        QStringLiteral("R"), QStringLiteral("1000"));
    const QCommandLineOption seedOption(
        QStringLiteral("seed"),
        QStringLiteral("Seed of the first run, 0 to %1; the same seed gives the same results "
                       "whatever the thread count. Default: from the clock, as the window "
                       "seeds its runs.")
            .arg(kLargestSeed),
        QStringLiteral("S"));
    const QCommandLineOption threadsOption(
        QStringLiteral("threads"), QStringLiteral("Worker threads (default: one per core)."),
        QStringLiteral("T"));
    const QCommandLineOption csvOption(
        QStringLiteral("csv"),
        QStringLiteral("Write one row per run to FILE: run, hits, count after the deduction, "
                       "estimate. - is standard output, and the summary then goes to standard "
                       "error."),
        QStringLiteral("FILE"));
    const QCommandLineOption jsonOption(
        QStringLiteral("json"),
        QStringLiteral("Write the summary's figures as JSON to FILE (- for standard output)."),
        QStringLiteral("FILE"));
    const QCommandLineOption plotOption(
        QStringLiteral("plot"),
        QStringLiteral("Draw a histogram of the estimates, with pi and their mean marked, to "
                       "FILE as PNG."),
        QStringLiteral("FILE"));
    const QCommandLineOption quietOption(QStringLiteral("quiet"),
                                         QStringLiteral("Print no summary."));
    const QCommandLineOption ruleOption(
        QStringLiteral("rule"),
        QStringLiteral("window (the default): the window's own experiment, whole-unit heights and "
                       "deductions; or geometric: the textbook's, needles of --length on endless "
                       "lines --spacing apart, places and angles continuous."),
        QStringLiteral("RULE"), QStringLiteral("window"));
    const QCommandLineOption lengthOption(
        QStringLiteral("length"),
        QStringLiteral("Needle length of the geometric rule (default 40, the window's reach)."),
        QStringLiteral("L"));
    const QCommandLineOption spacingOption(
        QStringLiteral("spacing"),
        QStringLiteral("Line spacing of the geometric rule (default 80, the window's)."),
        QStringLiteral("D"));
    const QCommandLineOption traceOption(
        QStringLiteral("trace"),
        QStringLiteral("Follow one run of --needles as it goes, the running estimate recorded at "
                       "about 200 points: FILE.csv for the figures, FILE.png or FILE.svg for a "
                       "plot."),
        QStringLiteral("FILE"));
    parser.addOptions({needlesOption, runsOption, seedOption, threadsOption, ruleOption,
                       lengthOption, spacingOption, csvOption, jsonOption, plotOption, traceOption,
                       quietOption});

    if (!parser.parse(arguments)) {
        return refuse(parser.errorText());
    }
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all"))) {
        return {std::nullopt, parser.helpText(), 0};
    }
    if (parser.isSet(versionOption)) {
        return {std::nullopt,
                QCoreApplication::applicationName() + QLatin1Char(' ') +
                    QCoreApplication::applicationVersion() + QLatin1Char('\n'),
                0};
    }
    QStringList seen;
    for (const QString& name : parser.optionNames()) {
        if (seen.contains(name)) {
            return refuse(QStringLiteral("--%1 is given more than once").arg(name));
        }
        seen << name;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return refuse(QStringLiteral("unexpected argument \"%1\"; see --help")
                          .arg(parser.positionalArguments().constFirst()));
    }

    StatsOptions options;
    constexpr qint64 kMostNeedles = std::numeric_limits<int>::max();
    const auto needles = wholeNumber(parser.value(needlesOption), 1, kMostNeedles);
    if (!needles) {
        return refuse(
            rangeError(QStringLiteral("needles"), 1, kMostNeedles, parser.value(needlesOption)));
    }
    options.plan.needles = static_cast<int>(*needles);
    const auto runs = wholeNumber(parser.value(runsOption), 1, kLargestRunCount);
    if (!runs) {
        return refuse(
            rangeError(QStringLiteral("runs"), 1, kLargestRunCount, parser.value(runsOption)));
    }
    options.plan.runs = *runs;
    options.tracePath = parser.value(traceOption);
    if (parser.isSet(traceOption)) {
        // A trace follows one run: unless told otherwise, the batch is that run.
        if (parser.isSet(runsOption) && *runs > 1) {
            return refuse(QStringLiteral("--trace follows one run; --runs must be 1, not %1")
                              .arg(parser.value(runsOption)));
        }
        options.plan.runs = 1;
        const QString suffix = QFileInfo(options.tracePath).suffix().toLower();
        if (!QStringList{QStringLiteral("csv"), QStringLiteral("png"), QStringLiteral("svg")}
                 .contains(suffix)) {
            return refuse(
                QStringLiteral("--trace writes FILE.csv, FILE.png or FILE.svg, not \"%1\"")
                    .arg(options.tracePath));
        }
    }
    const QString rule = parser.value(ruleOption);
    if (rule == QLatin1String("geometric")) {
        options.plan.rule.kind = NeedleRule::Kind::Geometric;
    } else if (rule != QLatin1String("window")) {
        return refuse(QStringLiteral("--rule is window or geometric, not \"%1\"").arg(rule));
    }
    for (const auto& [option, value] :
         {std::pair{&lengthOption, &options.plan.rule.geometry.length},
          std::pair{&spacingOption, &options.plan.rule.geometry.spacing}}) {
        if (!parser.isSet(*option)) {
            continue;
        }
        const QString name = option->names().constFirst();
        if (options.plan.rule.kind == NeedleRule::Kind::Window) {
            return refuse(QStringLiteral("--%1 belongs to --rule geometric; the window's needle "
                                         "and lines are fixed")
                              .arg(name));
        }
        bool ok = false;
        *value = parser.value(*option).toDouble(&ok);
        if (!ok || !std::isfinite(*value) || *value <= 0) {
            return refuse(QStringLiteral("--%1 must be a finite positive number, not \"%2\"")
                              .arg(name, parser.value(*option)));
        }
    }
    options.plan.seed = clockSeed;
    if (parser.isSet(seedOption)) {
        const auto seed = wholeNumber(parser.value(seedOption), 0, kLargestSeed);
        if (!seed) {
            return refuse(
                rangeError(QStringLiteral("seed"), 0, kLargestSeed, parser.value(seedOption)));
        }
        options.plan.seed = static_cast<std::uint32_t>(*seed);
    }
    options.plan.threads = std::max(cores, 1);
    if (parser.isSet(threadsOption)) {
        const auto threads = wholeNumber(parser.value(threadsOption), 1, kLargestThreadCount);
        if (!threads) {
            return refuse(rangeError(QStringLiteral("threads"), 1, kLargestThreadCount,
                                     parser.value(threadsOption)));
        }
        options.plan.threads = static_cast<int>(*threads);
    }
    options.quiet = parser.isSet(quietOption);
    // The outputs, in the order they are named in messages.
    const std::pair<const QCommandLineOption*, QString*> outputs[] = {
        {&csvOption, &options.csvPath},
        {&jsonOption, &options.jsonPath},
        {&plotOption, &options.plotPath}};
    for (const auto& [option, path] : outputs) {
        *path = parser.value(*option);
        if (parser.isSet(*option) && path->isEmpty()) {
            return refuse(
                QStringLiteral("--%1 needs a file name").arg(option->names().constFirst()));
        }
    }
    for (auto one = std::begin(outputs); one != std::end(outputs); ++one) {
        for (auto other = one + 1; other != std::end(outputs); ++other) {
            if (!one->second->isEmpty() && !other->second->isEmpty() &&
                sameFile(*one->second, *other->second)) {
                return refuse(
                    QStringLiteral("--%1 and --%2 name the same file")
                        .arg(one->first->names().constFirst(), other->first->names().constFirst()));
            }
        }
    }
    return {options, {}, 0};
}

}  // namespace buffon
