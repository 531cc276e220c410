#include "control_layout.h"

namespace buffon {

const char* const kWindowCaption = "Scatter needles to find an approximate value of pi !";

// The run of blanks pushes the divisor onto the label's second line, so the text reads as a
// fraction.
const char* const kFormulaText =
    "pi = \uFF08Total number of thrown needles\uFF09"
    "                                                              "
    "\u00F7 (Number of needles intersecting parallel lines)";

const char* const kCreditText = "\u00A9 2026 Buffon's Needle";

namespace {
constexpr auto L = ControlKind::Label;
constexpr auto B = ControlKind::Button;
constexpr auto P = ControlKind::Picture;
constexpr auto D = ControlKind::Device;
}  // namespace

const std::array<ControlLayout, 17> kControls{{
    {"Label1", L, {232, 576, 65, 25}, "pi \uFF1D", 19, true},
    {"Label2", L, {280, 576, 209, 25}, "", 19, true},
    {"Label3",
     L,
     {8, 552, 369, 17},
     "Number of needles intersecting parallel lines \uFF1D",
     16,
     true},
    {"Label4", L, {376, 552, 105, 17}, "", 16, true},
    {"Label5",
     L,
     {24, 8, 513, 25},
     "Needles that intersect parallel lines are displayed in blue.",
     15,
     true},
    {"Label6", L, {312, 600, 185, 17}, kCreditText, 15, false},
    {"Label7", L, {24, 24, 513, 33}, kFormulaText, 15, true},
    {"Picture1", P, {24, 72, 527, 415}, "", 0, false},
    {"MMControl1", D, {168, 432, 236, 33}, "", 0, false},
    {"Command1", B, {24, 496, 66, 41}, "10", 16, true},
    {"Command2", B, {104, 496, 72, 41}, "100", 16, true},
    {"Command3", B, {184, 496, 79, 41}, "1,000", 16, true},
    {"Command4", B, {272, 496, 86, 41}, "10,000", 16, true},
    {"Command5", B, {64, 584, 73, 33}, "Exit", 19, true},
    {"Picture2", P, {496, 584, 42, 41}, "", 0, false},
    {"Command6", B, {464, 496, 86, 41}, "Init", 16, true},
    {"Command7", B, {368, 496, 86, 41}, "50,000", 16, true},
}};

}  // namespace buffon
