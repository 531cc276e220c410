// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "experiment/lesson_modes.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "experiment/number_text.h"

namespace buffon {
namespace {

constexpr std::array<double, 4> kMenuPaces{0, 5, 50, 500};
constexpr std::array<double, 4> kScales{1, 1.5, 2, 3};
constexpr const char* kSeparator = " \u00B7 ";

constexpr ModeOption kModes[] = {
    {ModeKind::Textbook,
     "textbook",
     "textbook",
     "Textbook needles",
     "Throws the textbook's needles, all 40 long, counted without a deduction.",
     nullptr,
     {}},
    {ModeKind::Pace, "pace", "pace", "Pace",
     "Needles fall N a second (1 to 1000), the results growing as they fall; 0, the default, "
     "throws a run at once.",
     "N", kMenuPaces},
    {ModeKind::AddUp,
     "add-up",
     "addup",
     "Runs add up",
     "Each run adds its needles to the board and its count to running totals; Init starts "
     "again.",
     nullptr,
     {}},
    {ModeKind::ShowReseed,
     "show-reseed",
     "showreseed",
     "Show reseed values",
     "Shows under the board the number each run reseeds from, which "
     "buffon-needle-stats --reseed throws again.",
     nullptr,
     {}},
    {ModeKind::Reseed,
     "reseed",
     "reseed",
     nullptr,
     "The next run reseeds from VALUE (as a run's reseed value reads); shows reseed values.",
     "VALUE",
     {}},
    {ModeKind::Scale, "scale", nullptr, "Size",
     "The window F times its size, for a projector: 1, 1.5, 2 or 3.", "F", kScales},
    {ModeKind::ThickNeedles,
     "thick-needles",
     "thick",
     "Thick needles",
     "Needles drawn three pixels wide.",
     nullptr,
     {}},
};

// A whole number of needles a second within range.
std::optional<int> readPace(std::string_view text)
{
    int pace = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pace);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || pace < 0 ||
        pace > kLargestPace) {
        return std::nullopt;
    }
    return pace;
}

// "1.50" and "2.0" name the sizes "1.5" and "2" do.
std::string_view withoutTrailingZeros(std::string_view text)
{
    if (text.find('.') == std::string_view::npos) {
        return text;
    }
    text.remove_suffix(text.size() - 1 - text.find_last_not_of('0'));
    if (!text.empty() && text.back() == '.') {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<double> readScale(std::string_view text)
{
    for (const double scale : kScales) {
        if (withoutTrailingZeros(text) == numberText(scale)) {
            return scale;
        }
    }
    return std::nullopt;
}

std::optional<bool> readSwitch(std::string_view text)
{
    if (text.empty() || text == "1") {
        return true;
    }
    return text == "0" ? std::optional<bool>(false) : std::nullopt;
}

std::string named(const ModeOption& mode, ModeNames names)
{
    return names == ModeNames::Option ? std::string("--") + mode.option
                                      : std::string(mode.parameter) + "=";
}

// Takes one choice into `modes`; the reason it cannot be taken, or nothing.
std::string take(LessonModes& modes, const ModeOption& mode, const std::string& name,
                 std::string_view value)
{
    const auto refused = [&](const char* what) {
        return name + " takes " + what + ", not '" + std::string(value) + "'";
    };
    switch (mode.kind) {
    case ModeKind::Pace: {
        const auto pace = readPace(value);
        if (!pace) {
            return refused("a whole number of needles a second from 0 to 1000");
        }
        modes.pace = *pace;
        return {};
    }
    case ModeKind::Reseed: {
        const auto reseed = readReseedValue(value);
        if (!reseed) {
            return refused("a reseed value, a non-negative single-precision number in decimal");
        }
        modes.reseed = reseed;
        modes.showReseed = true;
        return {};
    }
    case ModeKind::Scale: {
        const auto scale = readScale(value);
        if (!scale) {
            return refused("a size of 1, 1.5, 2 or 3");
        }
        modes.scale = *scale;
        return {};
    }
    default:
        break;
    }
    const auto on = readSwitch(value);
    if (!on) {
        return refused("1 or 0");
    }
    modes = withChoice(modes, mode.kind, *on ? 1 : 0);
    return {};
}

}  // namespace

std::span<const ModeOption> modeOptions()
{
    return kModes;
}

ParsedModes parseModes(std::span<const ModeChoice> choices, ModeNames names)
{
    ParsedModes parsed;
    for (const ModeChoice& choice : choices) {
        const auto mode = std::find_if(std::begin(kModes), std::end(kModes), [&](const auto& m) {
            const char* name = names == ModeNames::Option ? m.option : m.parameter;
            return name && choice.name == name;
        });
        if (mode == std::end(kModes)) {
            parsed.error = "unknown mode '" + choice.name + "'";
        } else {
            parsed.error = take(parsed.modes, *mode, named(*mode, names), choice.value);
        }
        if (!parsed.error.empty()) {
            parsed.modes = {};
            return parsed;
        }
    }
    return parsed;
}

std::optional<float> readReseedValue(std::string_view text)
{
    const bool decimal =
        !text.empty() &&
        (std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '.') &&
        text.find_first_not_of("0123456789.eE+-") == std::string_view::npos;
    if (!decimal) {
        return std::nullopt;
    }
    float value = 0;
#if defined(__cpp_lib_to_chars)
    // from_chars ignores the locale, which a Qt program sets from the user's.
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool whole = error == std::errc() && end == text.data() + text.size();
#else
    // The browser build's library lacks from_chars for floats; it never leaves the C locale.
    const std::string copy(text);
    char* end = nullptr;
    errno = 0;
    value = std::strtof(copy.c_str(), &end);
    const bool whole = end == copy.c_str() + copy.size() &&
                       (errno != ERANGE || (value != 0 && std::isfinite(value)));
#endif
    if (!whole || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string reseedText(float value)
{
    return numberText(static_cast<double>(value));
}

std::string choiceText(ModeKind kind, double value)
{
    if (kind == ModeKind::Scale) {
        return numberText(value) + "\u00D7";
    }
    return value == 0 ? "All at once" : numberText(value) + " a second";
}

LessonModes withChoice(LessonModes modes, ModeKind kind, double value)
{
    switch (kind) {
    case ModeKind::Textbook:
        modes.textbook = value != 0;
        break;
    case ModeKind::Pace:
        modes.pace = static_cast<int>(value);
        break;
    case ModeKind::AddUp:
        modes.addUp = value != 0;
        break;
    case ModeKind::ShowReseed:
        modes.showReseed = value != 0;
        break;
    case ModeKind::Scale:
        modes.scale = value;
        break;
    case ModeKind::ThickNeedles:
        modes.thickNeedles = value != 0;
        break;
    case ModeKind::Reseed:
        break;
    }
    return modes;
}

bool endsFallingRun(const LessonModes& before, const LessonModes& after)
{
    return before.textbook != after.textbook || before.addUp != after.addUp ||
           before.thickNeedles != after.thickNeedles;
}

std::string modeLine(const LessonModes& modes, std::optional<float> lastReseed)
{
    std::string line;
    const auto add = [&line](const std::string& part) {
        line += (line.empty() ? "" : kSeparator) + part;
    };
    if (modes.textbook) {
        add("Textbook needles");
    }
    if (modes.pace != 0) {
        add(choiceText(ModeKind::Pace, modes.pace));
    }
    if (modes.addUp) {
        add("runs add up");
    }
    if (modes.showReseed) {
        add(lastReseed     ? "reseeded from " + reseedText(*lastReseed)
            : modes.reseed ? "next run reseeds from " + reseedText(*modes.reseed)
                           : "reseed values shown");
    }
    if (modes.thickNeedles) {
        add("thick needles");
    }
    if (modes.scale != 1) {
        add(choiceText(ModeKind::Scale, modes.scale));
    }
    return line;
}

}  // namespace buffon
