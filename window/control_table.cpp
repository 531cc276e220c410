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
constexpr auto RunButton = ControlRole::RunButton;

// The object names are fixed external names: they are the controls' objectName, and tests and
// tools find the controls by them.
const ControlEntry kControls[] = {
    {.objectName = "Label1",
     .role = ControlRole::EstimateCaption,
     .geometry = {232, 576, 65, 25},
     .text = "pi \uFF1D",
     .fontPixelSize = 19},
    {.objectName = "Label2",
     .role = ControlRole::EstimateLabel,
     .geometry = {280, 576, 209, 25},
     .fontPixelSize = 19,
     .accessibleDescription = "The estimate of pi from the last run: needles thrown divided by "
                              "needles that met a line"},
    {.objectName = "Label3",
     .role = ControlRole::CountCaption,
     .geometry = {8, 552, 369, 17},
     .text = "Number of needles intersecting parallel lines \uFF1D",
     .fontPixelSize = 16},
    {.objectName = "Label4",
     .role = ControlRole::CountLabel,
     .geometry = {376, 552, 105, 17},
     .fontPixelSize = 16,
     .accessibleDescription =
         "How many needles of the last run met a line, less the run's deduction"},
    {.objectName = "Label5",
     .role = Caption,
     .geometry = {24, 8, 513, 25},
     .text = "Needles that intersect parallel lines are displayed in blue.",
     .fontPixelSize = 15},
    {.objectName = "Label6",
     .role = Caption,
     .geometry = {312, 600, 185, 17},
     .text = kCreditText,
     .fontPixelSize = 15,
     .bold = false},
    {.objectName = "Label7",
     .role = Caption,
     .geometry = {24, 24, 513, 33},
     .text = kFormulaText,
     .fontPixelSize = 15,
     .accessibleName = "pi = (Total number of thrown needles) \u00F7 (Number of needles "
                       "intersecting parallel lines)"},
    {.objectName = "Picture1",
     .role = ControlRole::Board,
     .geometry = {24, 72, 527, 415},
     .accessibleName = "Needle board",
     .accessibleDescription = "Five ruled lines; every needle thrown falls here, blue where it "
                              "meets a line, green where it does not"},
    {.objectName = "MMControl1", .role = ControlRole::Device, .geometry = {168, 432, 236, 33}},
    {.objectName = "Command1",
     .role = RunButton,
     .geometry = {24, 496, 66, 41},
     .fontPixelSize = 16,
     .runSize = &kRunSizes[0]},
    {.objectName = "Command2",
     .role = RunButton,
     .geometry = {104, 496, 72, 41},
     .fontPixelSize = 16,
     .runSize = &kRunSizes[1]},
    {.objectName = "Command3",
     .role = RunButton,
     .geometry = {184, 496, 79, 41},
     .fontPixelSize = 16,
     .runSize = &kRunSizes[2]},
    {.objectName = "Command4",
     .role = RunButton,
     .geometry = {272, 496, 86, 41},
     .fontPixelSize = 16,
     .runSize = &kRunSizes[3]},
    {.objectName = "Command5",
     .role = ControlRole::ExitButton,
     .geometry = {64, 584, 73, 33},
     .text = "Exit",
     .fontPixelSize = 19,
     .accessibleDescription = "Plays the closing chime, says that the program will end, and ends "
                              "it"},
    {.objectName = "Picture2",
     .role = ControlRole::Emblem,
     .geometry = {496, 584, 42, 41},
     .accessibleName = "Emblem",
     .accessibleDescription = "A flower with five petals inside a ring"},
    {.objectName = "Command6",
     .role = ControlRole::InitButton,
     .geometry = {464, 496, 86, 41},
     .text = "Init",
     .fontPixelSize = 16,
     .accessibleDescription = "Clears the board and the results, and rules the lines again"},
    {.objectName = "Command7",
     .role = RunButton,
     .geometry = {368, 496, 86, 41},
     .fontPixelSize = 16,
     .runSize = &kRunSizes[4]},
};

}  // namespace

std::span<const ControlEntry> controlTable()
{
    return kControls;
}

QString controlText(const ControlEntry& entry)
{
    if (!entry.runSize) {
        return QString::fromUtf8(entry.text);
    }
    // Grouped the same in every locale: the captions are the window's fixed texts.
    QString caption = QString::number(entry.runSize->needles);
    for (qsizetype at = caption.size() - 3; at > 0; at -= 3) {
        caption.insert(at, QLatin1Char(','));
    }
    return caption;
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
