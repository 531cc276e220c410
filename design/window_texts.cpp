// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "design/window_texts.h"

#include <array>

#include "design/controls.h"

namespace buffon {

const char* const kWindowCaption = "Scatter needles to find an approximate value of pi !";
const char* const kWindowDescription = "Estimates pi by Buffon's needle experiment";
const char* const kBoxTitle = "Scatter needles to find pi !";
const char* const kExitPrompt = "This software will exit.";
const char* const kExitCue = "endpinpon.wav";
const char* const kTextbookCountCaption = "Number of needles crossing a line \uFF1D";
const char* const kTextbookCountDescription =
    "How many needles met a line: each 40 long, on lines 80 apart, counted as they fell";
const char* const kReseedAnnouncement = "Reseeded from %1.";
const char* const kStopRunEntry = "Stop the run (Esc)";

const char* const kRunButtonName = "Throw %1 needles";
const char* const kRunButtonDescription =
    "Throws %1 needles onto the board, then shows how many met a line and the estimate of pi";
const char* const kDeductedRunButtonDescription =
    "Throws %1 needles onto the board, then shows how many met a line, less %2, and the "
    "estimate of pi";
const char* const kCountAnnouncement = "Needles intersecting parallel lines: %1.";
const char* const kTextbookCountAnnouncement = "Needles crossing a line: %1.";
const char* const kEstimateAnnouncement = "Estimate of pi: %1.";
const char* const kNoEstimateAnnouncement = "No estimate of pi.";

namespace {

constexpr std::array<const char*, 7> kFontFamilies{
    "\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF",  // ＭＳ Ｐゴシック
    "MS PGothic",
    "IPAPGothic",
    "IPAexGothic",
    "Noto Sans CJK JP",
    "VL PGothic",
    "Droid Sans Fallback",
};

}  // namespace

std::span<const char* const> fontFamilies()
{
    return kFontFamilies;
}

std::string filledIn(std::string_view format, std::span<const std::string_view> values)
{
    std::string text;
    for (std::size_t at = 0; at < format.size(); ++at) {
        const char next = at + 1 < format.size() ? format[at + 1] : '\0';
        const bool placeholder = format[at] == '%' && next >= '1' &&
                                 static_cast<std::size_t>(next - '1') < values.size();
        if (placeholder) {
            text += values[static_cast<std::size_t>(next - '1')];
            ++at;
        } else {
            text += format[at];
        }
    }
    return text;
}

std::string runButtonName(const RunSize& size)
{
    const std::string caption = runCaption(size);
    return filledIn(kRunButtonName, std::array<std::string_view, 1>{caption});
}

std::string runButtonDescription(const RunSize& size, bool textbook)
{
    const std::string caption = runCaption(size);
    const std::string deduction = std::to_string(size.deduction);
    return size.deduction == 0 || textbook
               ? filledIn(kRunButtonDescription, std::array<std::string_view, 1>{caption})
               : filledIn(kDeductedRunButtonDescription,
                          std::array<std::string_view, 2>{caption, deduction});
}

std::string runAnnouncement(std::string_view count, std::string_view estimate, bool textbook,
                            std::string_view reseed)
{
    std::string text = filledIn(textbook ? kTextbookCountAnnouncement : kCountAnnouncement,
                                std::array<std::string_view, 1>{count}) +
                       ' ' +
                       (estimate.empty() ? std::string(kNoEstimateAnnouncement)
                                         : filledIn(kEstimateAnnouncement,
                                                    std::array<std::string_view, 1>{estimate}));
    if (!reseed.empty()) {
        text += ' ' + filledIn(kReseedAnnouncement, std::array<std::string_view, 1>{reseed});
    }
    return text;
}

}  // namespace buffon
