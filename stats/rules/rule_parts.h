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
    // What the hit region of the space of throws is, and the region set beside it, if any.
    std::string_view hitRegion;
    std::string_view comparedRegion;
};

// A number that sets up a rule: its option, its key in the JSON, and where the rule keeps it.
template <typename Rule>
struct RuleParameter {
    std::string_view name;
    std::string_view valueName;
    std::string_view help;
    double Rule::*value;
};

// One needle as a point of its rule's space of throws: the angle that sets how far across the
// lines it reaches, the height of its start above the line it meets (or, for a miss, the line
// nearest it; below the line is negative), and whether it hit.
struct Throw {
    double angle = 0;
    double height = 0;
    bool hit = false;
};

// The heights above `low` and up to `high` at one angle.
struct HeightRange {
    double low = 0;
    double high = 0;
    bool holds(double height) const { return low < height && height <= high; }
};

// The plane a rule's throws fall in: angles from 0 to `angleSpan`, heights from `lowest` to
// `highest`, with what the two axes read.
struct ThrowSpace {
    std::string_view angleName;
    double angleSpan = 0;
    std::string_view heightName;
    double lowest = 0;
    double highest = 0;
};

}  // namespace buffon
