// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace buffon {

// What a teacher chose for the runs to come. Every mode is off by default, which is the window
// as it has always been.
struct LessonModes {
    bool textbook = false;  // the textbook's needles, counted without a deduction
    int pace = 0;           // needles a second; 0 throws a run all at once
    bool addUp = false;     // runs add to the board and to running totals
    bool showReseed = false;
    std::optional<float> reseed;  // the next run's reseed value, where one was given
    double scale = 1;             // the window's size, a factor of its layout
    bool thickNeedles = false;

    friend bool operator==(const LessonModes&, const LessonModes&) = default;
};

inline constexpr int kLargestPace = 1000;
// Needles drawn three device pixels wide show on a projector; ruled lines keep one.
inline constexpr int kThickNeedleWidth = 3;

enum class ModeKind { Textbook, Pace, AddUp, ShowReseed, Reseed, Scale, ThickNeedles };

// One mode as every edition offers it.
struct ModeOption {
    ModeKind kind;
    const char* option;                  // the desktop's --option
    const char* parameter;               // the page's address parameter
    const char* menuText;                // the context menu's entry, or the title of its choices
    const char* help;                    // one line of --help
    const char* valueName;               // nullptr for a switch
    std::span<const double> menuValues;  // the menu's choices, for a mode with a value
};

std::span<const ModeOption> modeOptions();

// Which names a list of choices uses: the desktop's options or the page's parameters.
enum class ModeNames { Option, Parameter };

struct ModeChoice {
    std::string name;   // without dashes
    std::string value;  // empty for a switch on the command line
};

// The modes a list of choices asks for, or the one line that says why it cannot be taken.
// A switch is on for "" or "1" and off for "0". --reseed gives the next run's reseed value and
// shows reseed values.
struct ParsedModes {
    LessonModes modes;
    std::string error;
};
ParsedModes parseModes(std::span<const ModeChoice> choices, ModeNames names);

// The one reader of reseed values: a non-negative finite single-precision number in decimal,
// as reseedText writes it or any other decimal text of such a number. Anything else (a sign,
// hexadecimal, infinity, a number beyond a float's range, stray characters) is refused.
std::optional<float> readReseedValue(std::string_view text);
// A reseed value as the companion's CSV names a run: its value to 15 significant digits, which
// reads back as the same single-precision number.
std::string reseedText(float value);

// A menu choice of a mode with values: "All at once", "50 a second", "1.5×".
std::string choiceText(ModeKind kind, double value);

// The modes with one choice taken: a switch set on (value 1) or off (0), or a value set.
LessonModes withChoice(LessonModes modes, ModeKind kind, double value);

// Whether a run falling at a pace ends before the new modes are taken: they change how its
// needles are thrown, drawn or added up. A new pace, size or shown reseed value leaves it falling.
bool endsFallingRun(const LessonModes& before, const LessonModes& after);

// The modes in use, for the line under the board ("Textbook needles · 50 a second · 2×"),
// with the reseed value of the last run when reseed values are shown; empty when no mode is on.
std::string modeLine(const LessonModes& modes, std::optional<float> lastReseed);

}  // namespace buffon
