// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "stats/rules/geometric/geometric_rule.h"
#include "stats/rules/rule_parts.h"
#include "stats/rules/window/window_rule.h"

namespace buffon {

// What a hit rule must say and do for a batch, a trace and every output to take it: a new rule
// that leaves out any of these does not compile where the set of rules is named below.
// clang-format off
template <typename Rule>
concept HitRule = std::is_default_constructible_v<Rule> &&
    requires(const Rule rule, std::int64_t needles, std::uint32_t seedBits) {
        { Rule::kTexts } -> std::convertible_to<RuleTexts>;
        { Rule::kDeducts } -> std::convertible_to<bool>;
        { Rule::kParameters.size() } -> std::convertible_to<std::size_t>;
        { Rule::kParameters[0] } -> std::convertible_to<RuleParameter<Rule>>;
        { rule.exactRate() } -> std::same_as<double>;
        { rule.estimateFactor() } -> std::same_as<std::optional<double>>;
        { rule.deduction(needles) } -> std::same_as<int>;
        { rule.comparedRate() } -> std::same_as<double>;
        { rule.refusal() } -> std::same_as<std::string>;
        { rule.stream(seedBits).countHits(needles) } -> std::same_as<std::int64_t>;
        { rule.stream(seedBits).skip(needles) };
        { rule.throwSpace() } -> std::same_as<ThrowSpace>;
        { rule.firstThrows(seedBits, 1) } -> std::same_as<std::vector<Throw>>;
        { rule.hitRegion(0.0) } -> std::same_as<HeightRange>;
        { rule.comparedRegion(0.0) } -> std::same_as<std::optional<HeightRange>>;
    };
// clang-format on

// Each rule is checked on its own, so that the compiler names the rule and all it lacks.
template <HitRule Rule>
using CheckedRule = Rule;
template <typename... Rules>
using RuleSet = std::variant<CheckedRule<Rules>...>;

// Which experiment a batch or a trace throws, with its parameters. The first is the default.
using NeedleRule = RuleSet<WindowRule, GeometricRule>;

// Calls `f` with a std::type_identity of each rule in turn.
template <typename F>
void forEachRule(F&& f)
{
    [&]<std::size_t... I>(std::index_sequence<I...>)
    {
        (f(std::type_identity<std::variant_alternative_t<I, NeedleRule>>{}), ...);
    }
    (std::make_index_sequence<std::variant_size_v<NeedleRule>>{});
}

inline const RuleTexts& textsOf(const NeedleRule& rule)
{
    return std::visit(
        [](const auto& r) -> const RuleTexts& {
            return r.kTexts;
        },
        rule);
}
inline bool deducts(const NeedleRule& rule)
{
    return std::visit(
        [](const auto& r) {
            return r.kDeducts;
        },
        rule);
}
inline double exactRate(const NeedleRule& rule)
{
    return std::visit(
        [](const auto& r) {
            return r.exactRate();
        },
        rule);
}
inline std::optional<double> estimateFactor(const NeedleRule& rule)
{
    return std::visit(
        [](const auto& r) {
            return r.estimateFactor();
        },
        rule);
}
inline int deduction(const NeedleRule& rule, std::int64_t needles)
{
    return std::visit(
        [needles](const auto& r) {
            return r.deduction(needles);
        },
        rule);
}
inline double comparedRate(const NeedleRule& rule)
{
    return std::visit(
        [](const auto& r) {
            return r.comparedRate();
        },
        rule);
}
inline std::string refusal(const NeedleRule& rule)
{
    return std::visit(
        [](const auto& r) {
            return r.refusal();
        },
        rule);
}

inline ThrowSpace throwSpace(const NeedleRule& rule)
{
    return std::visit(
        [](const auto& r) {
            return r.throwSpace();
        },
        rule);
}
inline std::vector<Throw> firstThrows(const NeedleRule& rule, std::uint32_t seedBits, int count)
{
    return std::visit(
        [&](const auto& r) {
            return r.firstThrows(seedBits, count);
        },
        rule);
}
inline HeightRange hitRegion(const NeedleRule& rule, double angle)
{
    return std::visit(
        [angle](const auto& r) {
            return r.hitRegion(angle);
        },
        rule);
}
inline std::optional<HeightRange> comparedRegion(const NeedleRule& rule, double angle)
{
    return std::visit(
        [angle](const auto& r) {
            return r.comparedRegion(angle);
        },
        rule);
}

// The rule --rule names, with its default parameters.
std::optional<NeedleRule> ruleNamed(std::string_view name);

struct ParameterValue {
    std::string_view name;
    double value = 0;
};
// The rule's parameters and their values, in the order the rule lists them.
std::vector<ParameterValue> parametersOf(const NeedleRule& rule);

// The rule and its parameters, as a summary names them: "geometric (length 40, spacing 80)".
std::string description(const NeedleRule& rule);

}  // namespace buffon
