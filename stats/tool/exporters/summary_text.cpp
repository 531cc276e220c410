// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The plain, aligned report printed after a batch, headed by what makes it again: the program
// that wrote it, the rule and the seed.

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <optional>

#include "experiment/lesson_modes.h"
#include "stats/tool/exporters/exporter.h"
#include "stats/tool/inference/confidence.h"

namespace buffon {
namespace {

constexpr int kLabelWidth = 28;
constexpr int kColumnWidth = 20;

// A figure to so many decimals; "-" where there is none, or none a number could show.
std::string fixed(std::optional<double> value, int decimals)
{
    if (!value || !std::isfinite(*value)) {
        return "-";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, *value);
    return text;
}

// A rate or fraction: six decimals, or six significant digits for one too small for them to
// show ("1.27324e-09", not "0.000000").
std::string rate(double value)
{
    if (!std::isfinite(value) || value == 0 || std::abs(value) >= 1e-3) {
        return fixed(value, 6);
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string row(const std::string& label, const std::string& first, const std::string& second = {},
                const std::string& note = {})
{
    char text[256];
    std::snprintf(text, sizeof text, "%-*s%*s%*s", kLabelWidth, label.c_str(), kColumnWidth,
                  first.c_str(), second.empty() ? 0 : kColumnWidth, second.c_str());
    std::string row = text;
    if (!note.empty()) {
        row += "   " + note;
    }
    return row + "\n";
}

// A line naming a thing rather than a figure.
std::string line(const std::string& label, const std::string& value)
{
    const std::size_t padding = std::max<std::size_t>(label.size(), kLabelWidth) - label.size();
    return label + std::string(padding, ' ') + value + '\n';
}

std::string insideOrOut(const Interval& interval, double value)
{
    return interval.holds(value) ? "inside the interval" : "outside the interval";
}

std::string heading(const Results& results)
{
    const BatchPlan& plan = results.plan;
    std::string text;
    text += line("Program", std::string(results.program) + ' ' + std::string(results.version));
    text += line("Rule", description(plan.rule));
    text += row("Runs", std::to_string(results.summary.runs));
    text += row("Needles per run", std::to_string(results.summary.needles));
    if (deducts(plan.rule)) {
        text += row("Deduction per run", std::to_string(results.summary.deduction));
    }
    return text +
           (plan.reseedBits
                ? row("Reseeded from", reseedText(std::bit_cast<float>(*plan.reseedBits)))
                : row("Seed", std::to_string(plan.seed))) +
           '\n';
}

std::string hitFraction(const Results& results)
{
    const BatchSummary& s = results.summary;
    const double compared = comparedRate(results.plan.rule);
    return row("Hit fraction", rate(s.hitFraction)) +
           row("  95% interval", rate(s.interval.low) + " to " + rate(s.interval.high)) +
           row("  exact rate of the rule", rate(s.exactRate), {},
               insideOrOut(s.interval, s.exactRate)) +
           row("  " + std::string(textsOf(results.plan.rule).comparedRate), rate(compared), {},
               insideOrOut(s.interval, compared)) +
           '\n';
}

std::string estimates(const Results& results)
{
    const NeedleRule& rule = results.plan.rule;
    const EstimateSpread& raw = results.summary.withoutDeduction;
    const EstimateSpread& cut = results.summary.withDeduction;
    std::string text;
    if (deducts(rule)) {
        text += row("Estimate of pi", "without deduction", "with deduction");
        text += row("  mean", fixed(raw.mean, 6), fixed(cut.mean, 6));
        text += row("  standard deviation", fixed(raw.sd, 6), fixed(cut.sd, 6));
        text += row("  delta-method mean", fixed(raw.expectedMean, 6), fixed(cut.expectedMean, 6));
        text += row("  delta-method SD", fixed(raw.expectedSd, 6), fixed(cut.expectedSd, 6));
        text += row("  runs with no estimate", std::to_string(raw.noEstimate),
                    std::to_string(cut.noEstimate));
    } else if (estimateFactor(rule)) {
        text += row("Estimate of pi", std::string(textsOf(rule).estimateHeading));
        text += row("  mean", fixed(raw.mean, 6));
        text += row("  standard deviation", fixed(raw.sd, 6));
        text += row("  delta-method mean", fixed(raw.expectedMean, 6));
        text += row("  delta-method SD", fixed(raw.expectedSd, 6));
        text += row("  runs with no estimate", std::to_string(raw.noEstimate));
    } else {
        return std::string(textsOf(rule).noEstimate);
    }
    return text + row("  pi", fixed(std::numbers::pi, 6));
}

std::string lawFit(const Results& results)
{
    const std::optional<LawFit>& fit = results.inference.fit;
    if (!fit) {
        return "\nRuns against the exact law: too few runs to test\n";
    }
    // Two figures of p, but never rounded to a certainty either way.
    char p[32];
    if (fit->pValue < 1e-16) {
        std::snprintf(p, sizeof p, "p < 1e-16");
    } else if (fit->pValue >= 0.995) {
        std::snprintf(p, sizeof p, "p > 0.99");
    } else {
        std::snprintf(p, sizeof p, "p = %.2g", fit->pValue);
    }
    char text[160];
    std::snprintf(text, sizeof text, "%.1f on %d %s, %s", fit->chiSquare, fit->degreesOfFreedom,
                  fit->degreesOfFreedom == 1 ? "degree of freedom" : "degrees of freedom", p);
    return std::string("\nRuns against the exact law: chi-square ") + text + '\n';
}

std::string coverage(const Results& results)
{
    const std::optional<Coverage>& coverage = results.inference.coverage;
    if (!coverage) {
        return {};
    }
    std::string text = "\nRuns' own 95% intervals for pi\n";
    if (coverage->enoughRuns) {
        text += row("  share that hold pi", fixed(coverage->share, 6), {},
                    "± " + fixed(coverage->margin, 6));
    } else {
        text += line("  share that hold pi",
                     "too few runs to tell: " + std::to_string(coverage->holding) + " of " +
                         std::to_string(results.summary.runs) + " hold pi");
    }
    text += row("  nominal", fixed(kConfidence, 6));
    return text + row("  by the exact law", fixed(coverage->predicted, 6));
}

class SummaryText final : public Exporter {
public:
    std::string finish(const Results& results) const override
    {
        return heading(results) + hitFraction(results) + estimates(results) + lawFit(results) +
               coverage(results);
    }
};

}  // namespace

const Exporter& summaryText()
{
    static const SummaryText exporter;
    return exporter;
}

}  // namespace buffon
