// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string_view>

namespace buffon {

// What a rule says of itself wherever the companion names it.
struct RuleTexts {
    std::string_view name;  // as --rule takes it and the JSON gives it
    std::string_view help;  // what --help says of it
    // How the summary heads the estimate of a rule that takes no deductions.
    std::string_view estimateHeading;
    // What a trace's legend calls the running estimate.
    std::string_view runningEstimate;
    // Why there is no estimate, for a rule whose parameters give none.
    std::string_view noEstimate;
    // The rate set beside this rule's in the summary, so that the two can be told apart.
    std::string_view comparedRate;
};

// A number that sets up a rule: its option, its key in the JSON, and where the rule keeps it.
template <typename Rule>
struct RuleParameter {
    std::string_view name;
    std::string_view valueName;
    std::string_view help;
    double Rule::*value;
};

}  // namespace buffon
