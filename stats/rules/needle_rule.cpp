// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/rules/needle_rule.h"

#include "experiment/number_text.h"

namespace buffon {

std::optional<NeedleRule> ruleNamed(std::string_view name)
{
    std::optional<NeedleRule> found;
    forEachRule([&]<typename Rule>(std::type_identity<Rule>) {
        if (Rule::kTexts.name == name) {
            found = Rule();
        }
    });
    return found;
}

std::vector<ParameterValue> parametersOf(const NeedleRule& rule)
{
    return std::visit(
        [](const auto& r) {
            std::vector<ParameterValue> values;
            for (const auto& parameter : r.kParameters) {
                values.push_back({parameter.name, r.*parameter.value});
            }
            return values;
        },
        rule);
}

std::string description(const NeedleRule& rule)
{
    std::string text(textsOf(rule).name);
    const std::vector<ParameterValue> parameters = parametersOf(rule);
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        text += i == 0 ? " (" : ", ";
        text += std::string(parameters[i].name) + ' ' + shortestText(parameters[i].value);
    }
    return parameters.empty() ? text : text + ')';
}

}  // namespace buffon
