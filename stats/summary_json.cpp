// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/summary_json.h"

#include <charconv>
#include <numbers>
#include <optional>

namespace buffon {
namespace {

// The shortest text that reads back as the same double.
std::string number(double value)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

std::string number(std::optional<double> value)
{
    return value ? number(*value) : std::string("null");
}

std::string spread(const EstimateSpread& s)
{
    return "{\"mean\": " + number(s.mean) + ", \"sd\": " + number(s.sd) +
           ", \"delta_method_mean\": " + number(s.expectedMean) +
           ", \"delta_method_sd\": " + number(s.expectedSd) +
           ", \"runs_with_estimate\": " + std::to_string(s.estimates) +
           ", \"runs_without_estimate\": " + std::to_string(s.noEstimate) + "}";
}

}  // namespace

std::string summaryJson(const BatchSummary& s, std::uint32_t seed, const NeedleRule& rule,
                        std::string_view program, std::string_view version)
{
    std::string json = "{\n";
    json += "  \"program\": \"" + std::string(program) + "\",\n";
    json += "  \"version\": \"" + std::string(version) + "\",\n";
    json +=
        rule.kind == NeedleRule::Kind::Window
            ? std::string("  \"rule\": {\"name\": \"window\"},\n")
            : "  \"rule\": {\"name\": \"geometric\", \"length\": " + number(rule.geometry.length) +
                  ", \"spacing\": " + number(rule.geometry.spacing) + "},\n";
    json += "  \"estimate_factor\": " + number(rule.estimateFactor()) + ",\n";
    json += "  \"seed\": " + std::to_string(seed) + ",\n";
    json += "  \"runs\": " + std::to_string(s.runs) + ",\n";
    json += "  \"needles_per_run\": " + std::to_string(s.needles) + ",\n";
    json += "  \"deduction_per_run\": " + std::to_string(s.deduction) + ",\n";
    json += "  \"hit_fraction\": " + number(s.hitFraction) + ",\n";
    json +=
        "  \"interval_95\": [" + number(s.interval.low) + ", " + number(s.interval.high) + "],\n";
    json += "  \"exact_rate\": " + number(s.exactRate) + ",\n";
    json += "  \"inverse_pi\": " + number(std::numbers::inv_pi) + ",\n";
    json += "  \"estimate_without_deduction\": " + spread(s.withoutDeduction) + ",\n";
    json += "  \"estimate_with_deduction\": " + spread(s.withDeduction) + ",\n";
    json += "  \"pi\": " + number(std::numbers::pi) + "\n";
    json += "}\n";
    return json;
}

}  // namespace buffon
