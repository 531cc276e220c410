#include "summary_text.h"

#include <cstdio>
#include <numbers>
#include <optional>

namespace buffon {
namespace {

constexpr int kLabelWidth = 28;
constexpr int kColumnWidth = 20;

std::string Fixed(std::optional<double> value, int decimals)
{
    if (!value) {
        return "-";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, *value);
    return text;
}

std::string Row(const std::string& label, const std::string& first, const std::string& second = {},
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

std::string InsideOrOut(const Interval& interval, double value)
{
    return interval.Holds(value) ? "inside the interval" : "outside the interval";
}

}  // namespace

std::string SummaryText(const BatchSummary& s, std::uint32_t seed)
{
    const double inversePi = std::numbers::inv_pi;
    std::string text;
    text += Row("Runs", std::to_string(s.runs));
    text += Row("Needles per run", std::to_string(s.needles));
    text += Row("Deduction per run", std::to_string(s.deduction));
    text += Row("Seed", std::to_string(seed));
    text += "\n";
    text += Row("Hit fraction", Fixed(s.hitFraction, 6));
    text += Row("  95% interval", Fixed(s.interval.low, 6) + " to " + Fixed(s.interval.high, 6));
    text += Row("  exact rate of the rule", Fixed(s.exactRate, 6), {},
                InsideOrOut(s.interval, s.exactRate));
    text += Row("  1/pi", Fixed(inversePi, 6), {}, InsideOrOut(s.interval, inversePi));
    text += "\n";
    const EstimateSpread& raw = s.withoutDeduction;
    const EstimateSpread& cut = s.withDeduction;
    text += Row("Estimate of pi", "without deduction", "with deduction");
    text += Row("  mean", Fixed(raw.mean, 6), Fixed(cut.mean, 6));
    text += Row("  standard deviation", Fixed(raw.sd, 6), Fixed(cut.sd, 6));
    text += Row("  delta-method mean", Fixed(raw.expectedMean, 6), Fixed(cut.expectedMean, 6));
    text += Row("  delta-method SD", Fixed(raw.expectedSd, 6), Fixed(cut.expectedSd, 6));
    text += Row("  runs with no estimate", std::to_string(raw.noEstimate),
                std::to_string(cut.noEstimate));
    text += Row("  pi", Fixed(std::numbers::pi, 6));
    return text;
}

}  // namespace buffon
