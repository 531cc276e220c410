// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include "stats/rules/needle_rule.h"

namespace buffon {

// A count as titles write it, in groups of three as the README does: "2,000".
QString grouped(long long count);

// "1,000 needles", "1 needle": a count and what it counts.
QString counted(long long count, const QString& one, const QString& many);

// The rule as a title names it, so that two pictures side by side say which is which:
// "window's rule", "textbook's rule, L = 40, D = 80".
QString ruleTitle(const NeedleRule& rule);

}  // namespace buffon
