// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// --json: the summary's figures as JSON numbers, for notebooks and scripts: every figure the
// printed summary shows, exact to the last bit, null where the summary shows "-", and with what
// makes them again (the program and its version, the rule and its parameters, the seed).

#include <cmath>
#include <nlohmann/json.hpp>
#include <numbers>

#include "experiment/number_text.h"
#include "stats/tool/exporters/exporter.h"
#include "stats/tool/inference/confidence.h"

namespace buffon {
namespace {

using Json = nlohmann::ordered_json;

Json number(std::optional<double> value)
{
    return value ? Json(*value) : Json(nullptr);
}

Json spread(const EstimateSpread& s)
{
    return {{"mean", number(s.mean)},
            {"sd", number(s.sd)},
            {"delta_method_mean", number(s.expectedMean)},
            {"delta_method_sd", number(s.expectedSd)},
            {"runs_with_estimate", s.estimates},
            {"runs_without_estimate", s.noEstimate}};
}

// Pearson's test of the runs' hits against the binomial law of the exact rate.
Json lawFit(const std::optional<LawFit>& fit)
{
    if (!fit) {
        return nullptr;
    }
    return {{"chi_square", fit->chiSquare},
            {"degrees_of_freedom", fit->degreesOfFreedom},
            {"p_value", fit->pValue}};
}

// How often the runs' own intervals for pi hold it.
Json coverage(const std::optional<Coverage>& coverage)
{
    if (!coverage) {
        return nullptr;
    }
    return {{"share", coverage->share},
            {"margin_95", coverage->margin},
            {"enough_runs", coverage->enoughRuns},
            {"nominal", kConfidence},
            {"exact_law", coverage->predicted}};
}

Json document(const Results& results)
{
    const BatchSummary& s = results.summary;
    const NeedleRule& rule = results.plan.rule;
    Json ruleObject = {{"name", textsOf(rule).name}};
    for (const ParameterValue& parameter : parametersOf(rule)) {
        ruleObject[std::string(parameter.name)] = parameter.value;
    }
    return {{"program", results.program},
            {"version", results.version},
            {"rule", ruleObject},
            {"estimate_factor", number(estimateFactor(rule))},
            {"seed", results.plan.seed},
            {"runs", s.runs},
            {"needles_per_run", s.needles},
            {"deduction_per_run", s.deduction},
            {"hit_fraction", s.hitFraction},
            {"interval_95", {s.interval.low, s.interval.high}},
            {"exact_rate", s.exactRate},
            {"inverse_pi", std::numbers::inv_pi},
            {"window_rule_rate", WindowRule().exactRate()},
            {"estimate_without_deduction", spread(s.withoutDeduction)},
            {"estimate_with_deduction", spread(s.withDeduction)},
            {"exact_law_fit", lawFit(results.inference.fit)},
            {"interval_coverage", coverage(results.inference.coverage)},
            {"pi", std::numbers::pi}};
}

// The library's text for strings, whole numbers and null; for other numbers the shortest text
// that reads back as the same double, which the library's own (Grisu2) now and then exceeds by
// a digit, and null for what is no number. The figures of a nested object or array share a line.
std::string textOf(const Json& value)
{
    std::string text;
    switch (value.type()) {
    case Json::value_t::number_float: {
        const double number = value.get<double>();
        return std::isfinite(number) ? shortestText(number) : "null";
    }
    case Json::value_t::object:
        for (const auto& [key, member] : value.items()) {
            text += (text.empty() ? "{" : ", ") + Json(key).dump() + ": " + textOf(member);
        }
        return text.empty() ? "{}" : text + '}';
    case Json::value_t::array:
        for (const Json& element : value) {
            text += (text.empty() ? "[" : ", ") + textOf(element);
        }
        return text.empty() ? "[]" : text + ']';
    default:
        return value.dump();
    }
}

class SummaryJson final : public Exporter {
public:
    std::string finish(const Results& results) const override
    {
        const Json figures = document(results);
        std::string text;
        for (const auto& [key, member] : figures.items()) {
            text += (text.empty() ? "{\n  " : ",\n  ") + Json(key).dump() + ": " + textOf(member);
        }
        return text + "\n}\n";
    }
};

}  // namespace

const Exporter& summaryJson()
{
    static const SummaryJson exporter;
    return exporter;
}

}  // namespace buffon
