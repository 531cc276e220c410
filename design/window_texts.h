// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <span>
#include <string>
#include <string_view>

#include "experiment/run_size.h"

namespace buffon {

// The window's own texts besides its controls', UTF-8.
extern const char* const kWindowCaption;
extern const char* const kWindowDescription;
extern const char* const kBoxTitle;
extern const char* const kExitPrompt;
// The count's caption and description when the needles are the textbook's, counted without a
// deduction.
extern const char* const kTextbookCountCaption;
extern const char* const kTextbookCountDescription;
// The end of a run whose reseed value is shown: %1 is the value.
extern const char* const kReseedAnnouncement;
// The cue that Exit sounds.
extern const char* const kExitCue;

// The window's face first, then faces that carry the same full-width characters: IPAPGothic is
// metric-compatible with it.
std::span<const char* const> fontFamilies();

// What a screen reader hears of a run button and of a run's end: %1 and %2 stand for the values
// named beside each.
extern const char* const kRunButtonName;                 // caption
extern const char* const kRunButtonDescription;          // caption
extern const char* const kDeductedRunButtonDescription;  // caption, deduction
extern const char* const kCountAnnouncement;             // count
extern const char* const kTextbookCountAnnouncement;     // count
extern const char* const kEstimateAnnouncement;          // estimate
extern const char* const kNoEstimateAnnouncement;

// `format` with %1, %2, ... replaced by the values in order.
std::string filledIn(std::string_view format, std::span<const std::string_view> values);

// The board menu's entry that ends a run falling at a pace.
extern const char* const kStopRunEntry;

std::string runButtonName(const RunSize& size);
// The textbook's needles are counted without the run's deduction.
std::string runButtonDescription(const RunSize& size, bool textbook = false);
// The end of a run as the two result labels show it (an empty estimate is none), in the words of
// the count's caption, and the value the run reseeded from where it is shown.
std::string runAnnouncement(std::string_view count, std::string_view estimate,
                            bool textbook = false, std::string_view reseed = {});

}  // namespace buffon
