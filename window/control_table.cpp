// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "window/control_table.h"

#include <QStringList>

namespace buffon {

const char* const kWindowCaption = "Scatter needles to find an approximate value of pi !";
const char* const kBoxTitle = "Scatter needles to find pi !";
const char* const kExitPrompt = "This software will exit.";

namespace {

// The run of blanks pushes the divisor onto the label's second line, so the text reads as a
// fraction.
const char* const kFormulaText =
    "pi = \uFF08Total number of thrown needles\uFF09"
    "                                                              "
    "\u00F7 (Number of needles intersecting parallel lines)";

const char* const kCreditText = "\u00A9 2026 Buffon's Needle";

constexpr auto Caption = ControlRole::Caption;

// The object names are fixed external names: they are the controls' objectName, and tests and
// tools find the controls by them.
const ControlEntry kControls[] = {
    {"Label1", ControlRole::EstimateCaption, {232, 576, 65, 25}, "pi \uFF1D", 19, true, -1},
    {"Label2",
     ControlRole::EstimateLabel,
     {280, 576, 209, 25},
     "",
     19,
     true,
     -1,
     nullptr,
     "The estimate of pi from the last run: needles thrown divided by needles that met a line"},
    {"Label3",
     ControlRole::CountCaption,
     {8, 552, 369, 17},
     "Number of needles intersecting parallel lines \uFF1D",
     16,
     true,
     -1},
    {"Label4",
     ControlRole::CountLabel,
     {376, 552, 105, 17},
     "",
     16,
     true,
     -1,
     nullptr,
     "How many needles of the last run met a line, less the run's deduction"},
    {"Label5",
     Caption,
     {24, 8, 513, 25},
     "Needles that intersect parallel lines are displayed in blue.",
     15,
     true,
     -1},
    {"Label6", Caption, {312, 600, 185, 17}, kCreditText, 15, false, -1},
    {"Label7",
     Caption,
     {24, 24, 513, 33},
     kFormulaText,
     15,
     true,
     -1,
     "pi = (Total number of thrown needles) \u00F7 (Number of needles intersecting parallel "
     "lines)"},
    {"Picture1",
     ControlRole::Board,
     {24, 72, 527, 415},
     "",
     0,
     false,
     -1,
     "Needle board",
     "Five ruled lines; every needle thrown falls here, blue where it meets a line, green where "
     "it does not"},
    {"MMControl1", ControlRole::Device, {168, 432, 236, 33}, "", 0, false, -1},
    {"Command1", ControlRole::RunButton, {24, 496, 66, 41}, "10", 16, true, 0},
    {"Command2", ControlRole::RunButton, {104, 496, 72, 41}, "100", 16, true, 1},
    {"Command3", ControlRole::RunButton, {184, 496, 79, 41}, "1,000", 16, true, 2},
    {"Command4", ControlRole::RunButton, {272, 496, 86, 41}, "10,000", 16, true, 3},
    {"Command5",
     ControlRole::ExitButton,
     {64, 584, 73, 33},
     "Exit",
     19,
     true,
     -1,
     nullptr,
     "Plays the closing chime, says that the program will end, and ends it"},
    {"Picture2",
     ControlRole::Emblem,
     {496, 584, 42, 41},
     "",
     0,
     false,
     -1,
     "Emblem",
     "A flower with five petals inside a ring"},
    {"Command6",
     ControlRole::InitButton,
     {464, 496, 86, 41},
     "Init",
     16,
     true,
     -1,
     nullptr,
     "Clears the board and the results, and rules the lines again"},
    {"Command7", ControlRole::RunButton, {368, 496, 86, 41}, "50,000", 16, true, 4},
};

}  // namespace

std::span<const ControlEntry> controlTable()
{
    return kControls;
}

QFont windowFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
                      QStringLiteral("Droid Sans Fallback")});
    font.setStyleHint(QFont::SansSerif);
    // Pixel sizes keep the fixed layout intact at any screen resolution.
    font.setPixelSize(pixelSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

}  // namespace buffon
