// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/summary_text.h"

#include <cstdio>
#include <numbers>
#include <optional>

namespace buffon {
namespace {

constexpr int kLabelWidth = 28;
constexpr int kColumnWidth = 20;

std::string fixed(std::optional<double> value, int decimals)
{
    if (!value) {
        return "-";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, *value);
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
    char text[256];
    std::snprintf(text, sizeof text, "%-*s%s\n", kLabelWidth, label.c_str(), value.c_str());
    return text;
}

std::string insideOrOut(const Interval& interval, double value)
{
    return interval.holds(value) ? "inside the interval" : "outside the interval";
}

}  // namespace

std::string summaryText(const BatchSummary& s, std::uint32_t seed, const NeedleRule& rule,
                        const std::string& program)
{
    const bool window = rule.kind == NeedleRule::Kind::Window;
    std::string text;
    text += line("Program", program);
    text += line("Rule", rule.description());
    text += row("Runs", std::to_string(s.runs));
    text += row("Needles per run", std::to_string(s.needles));
    if (window) {
        text += row("Deduction per run", std::to_string(s.deduction));
    }
    text += row("Seed", std::to_string(seed));
    text += "\n";
    text += row("Hit fraction", fixed(s.hitFraction, 6));
    text += row("  95% interval", fixed(s.interval.low, 6) + " to " + fixed(s.interval.high, 6));
    text += row("  exact rate of the rule", fixed(s.exactRate, 6), {},
                insideOrOut(s.interval, s.exactRate));
    // Beside it, the rate the other rule would give, so the two can be told apart.
    const double other = window ? std::numbers::inv_pi : NeedleRule().exactRate();
    text += row(window ? "  1/pi" : "  rate of the window's rule", fixed(other, 6), {},
                insideOrOut(s.interval, other));
    text += "\n";
    const EstimateSpread& raw = s.withoutDeduction;
    const EstimateSpread& cut = s.withDeduction;
    if (window) {
        text += row("Estimate of pi", "without deduction", "with deduction");
        text += row("  mean", fixed(raw.mean, 6), fixed(cut.mean, 6));
        text += row("  standard deviation", fixed(raw.sd, 6), fixed(cut.sd, 6));
        text += row("  delta-method mean", fixed(raw.expectedMean, 6), fixed(cut.expectedMean, 6));
        text += row("  delta-method SD", fixed(raw.expectedSd, 6), fixed(cut.expectedSd, 6));
        text += row("  runs with no estimate", std::to_string(raw.noEstimate),
                    std::to_string(cut.noEstimate));
    } else if (rule.estimateFactor()) {
        text += row("Estimate of pi", "2 L N / (D hits)");
        text += row("  mean", fixed(raw.mean, 6));
        text += row("  standard deviation", fixed(raw.sd, 6));
        text += row("  delta-method mean", fixed(raw.expectedMean, 6));
        text += row("  delta-method SD", fixed(raw.expectedSd, 6));
        text += row("  runs with no estimate", std::to_string(raw.noEstimate));
    } else {
        return text +
               "A needle longer than the spacing can cross several lines, so no simple\n"
               "estimate of pi exists: compare the hit fraction with the exact rate.\n";
    }
    text += row("  pi", fixed(std::numbers::pi, 6));
    return text;
}

}  // namespace buffon
