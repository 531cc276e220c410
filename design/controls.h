// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <span>
#include <string>
#include <string_view>

#include "experiment/run_size.h"

namespace buffon {

enum class ControlRole {
    Caption,          // a label with fixed text
    EstimateCaption,  // the caption of the estimate
    EstimateLabel,    // shows the estimate of pi
    CountCaption,     // the caption of the hit count
    CountLabel,       // shows the hit count
    Board,
    Emblem,
    Device,  // the sound device: nothing on screen
    RunButton,
    InitButton,
    ExitButton,
    ModeLine,  // the modes in use, hidden when none is
};

// A place in pixels of the window's client area, from its top-left corner.
struct Place {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend constexpr bool operator==(const Place&, const Place&) = default;
};

// One control of the window as laid out. Its object name is fixed: the desktop's objectName
// and the page's element id, by which tests and tools find it.
struct ControlDesign {
    const char* objectName;
    ControlRole role;
    Place place;
    const char* text = "";  // UTF-8; a run button's caption comes from its run size
    int fontPixelSize = 0;  // 0: no text
    bool bold = true;
    const RunSize* runSize = nullptr;  // RunButton: its row of kRunSizes
    // What a screen reader says of it, where the text on screen says too little; run buttons
    // are named and described from their run size.
    const char* accessibleName = nullptr;
    const char* accessibleDescription = nullptr;
};

inline constexpr int kClientWidth = 570;
inline constexpr int kClientHeight = 636;
// The board's sunken edge, two rings of one pixel, around its drawing area.
inline constexpr int kBoardEdge = 2;

// Every control, labels first and back to front, so that later labels and every button and
// picture lie above them; the controls that take the keyboard focus come in its order.
std::span<const ControlDesign> controlDesigns();

// A run button's caption: its needles in groups of three ("10,000"), the same in every locale.
std::string runCaption(const RunSize& size);

// What a control shows: its text, or a run button's caption.
std::string controlText(const ControlDesign& control);

// The board's drawing area in the window: its place inside the sunken edge.
Place boardArea();

}  // namespace buffon
