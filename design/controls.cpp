// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "design/controls.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "experiment/board.h"

namespace buffon {
namespace {

// The run of blanks pushes the divisor onto the label's second line, so the text reads as a
// fraction.
constexpr const char* kFormulaText =
    "pi = \uFF08Total number of thrown needles\uFF09"
    "                                                              "
    "\u00F7 (Number of needles intersecting parallel lines)";

constexpr const char* kCreditText = "\u00A9 2026 Buffon's Needle";

constexpr auto Caption = ControlRole::Caption;
constexpr auto RunButton = ControlRole::RunButton;

constexpr ControlDesign kControls[] = {
    {.objectName = "Label1",
     .role = ControlRole::EstimateCaption,
     .place = {232, 576, 65, 25},
     .text = "pi \uFF1D",
     .fontPixelSize = 19},
    {.objectName = "Label2",
     .role = ControlRole::EstimateLabel,
     .place = {280, 576, 209, 25},
     .fontPixelSize = 19,
     .accessibleDescription = "The estimate of pi from the last run: needles thrown divided by "
                              "needles that met a line"},
    {.objectName = "Label3",
     .role = ControlRole::CountCaption,
     .place = {8, 552, 369, 17},
     .text = "Number of needles intersecting parallel lines \uFF1D",
     .fontPixelSize = 16},
    {.objectName = "Label4",
     .role = ControlRole::CountLabel,
     .place = {376, 552, 105, 17},
     .fontPixelSize = 16,
     .accessibleDescription =
         "How many needles of the last run met a line, less the run's deduction"},
    {.objectName = "Label5",
     .role = Caption,
     .place = {24, 8, 513, 25},
     .text = "Needles that intersect parallel lines are displayed in blue.",
     .fontPixelSize = 15},
    {.objectName = "Label6",
     .role = Caption,
     .place = {312, 600, 185, 17},
     .text = kCreditText,
     .fontPixelSize = 15,
     .bold = false},
    {.objectName = "Label7",
     .role = Caption,
     .place = {24, 24, 513, 33},
     .text = kFormulaText,
     .fontPixelSize = 15,
     .accessibleName = "pi = (Total number of thrown needles) \u00F7 (Number of needles "
                       "intersecting parallel lines)"},
    {.objectName = "Picture1",
     .role = ControlRole::Board,
     .place = {24, 72, 527, 415},
     .accessibleName = "Needle board",
     .accessibleDescription = "Five ruled lines; every needle thrown falls here, blue where it "
                              "meets a line, green where it does not"},
    {.objectName = "MMControl1", .role = ControlRole::Device, .place = {168, 432, 236, 33}},
    {.objectName = "Command1",
     .role = RunButton,
     .place = {24, 496, 66, 41},
     .fontPixelSize = 16,
     .runSize = &kRunSizes[0]},
    {.objectName = "Command2",
     .role = RunButton,
     .place = {104, 496, 72, 41},
     .fontPixelSize = 16,
     .runSize = &kRunSizes[1]},
    {.objectName = "Command3",
     .role = RunButton,
     .place = {184, 496, 79, 41},
     .fontPixelSize = 16,
     .runSize = &kRunSizes[2]},
    {.objectName = "Command4",
     .role = RunButton,
     .place = {272, 496, 86, 41},
     .fontPixelSize = 16,
     .runSize = &kRunSizes[3]},
    {.objectName = "Command5",
     .role = ControlRole::ExitButton,
     .place = {64, 584, 73, 33},
     .text = "Exit",
     .fontPixelSize = 19,
     .accessibleDescription = "Plays the closing chime, says that the program will end, and ends "
                              "it"},
    {.objectName = "Picture2",
     .role = ControlRole::Emblem,
     .place = {496, 584, 42, 41},
     .accessibleName = "Emblem",
     .accessibleDescription = "A flower with five petals inside a ring"},
    {.objectName = "Command6",
     .role = ControlRole::InitButton,
     .place = {464, 496, 86, 41},
     .text = "Init",
     .fontPixelSize = 16,
     .accessibleDescription = "Clears the board and the results, and rules the lines again"},
    {.objectName = "Command7",
     .role = RunButton,
     .place = {368, 496, 86, 41},
     .fontPixelSize = 16,
     .runSize = &kRunSizes[4]},
    // Free room under the board: Exit and the credit end above it, the emblem starts right of it.
    {.objectName = "ModeLine",
     .role = ControlRole::ModeLine,
     .place = {8, 619, 480, 16},
     .fontPixelSize = 12,
     .bold = false,
     .accessibleDescription = "The modes in use, and the number the last run reseeded from"},
};

constexpr Place insideTheEdge()
{
    const Place outer =
        std::find_if(std::begin(kControls), std::end(kControls), [](const ControlDesign& control) {
            return control.role == ControlRole::Board;
        })->place;
    return {outer.left + kBoardEdge, outer.top + kBoardEdge, outer.width - 2 * kBoardEdge,
            outer.height - 2 * kBoardEdge};
}

// One drawing unit to a pixel of the layout.
static_assert(insideTheEdge().width == kBoardWidth && insideTheEdge().height == kBoardHeight);

}  // namespace

std::span<const ControlDesign> controlDesigns()
{
    return kControls;
}

std::string runCaption(const RunSize& size)
{
    std::string caption = std::to_string(size.needles);
    for (auto at = static_cast<std::ptrdiff_t>(caption.size()) - 3; at > 0; at -= 3) {
        caption.insert(static_cast<std::size_t>(at), 1, ',');
    }
    return caption;
}

std::string controlText(const ControlDesign& control)
{
    return control.runSize ? runCaption(*control.runSize) : std::string(control.text);
}

Place boardArea()
{
    return insideTheEdge();
}

}  // namespace buffon
