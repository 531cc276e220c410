// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QFont>
#include <QRect>
#include <span>

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
    Device,  // the sound device: no widget, it never shows
    RunButton,
    InitButton,
    ExitButton,
};

// One control of the main window as laid out: place and size in pixels of the client area.
struct ControlEntry {
    const char* objectName;
    ControlRole role;
    QRect geometry;
    const char* text = "";  // UTF-8; a run button's caption comes from its run size
    int fontPixelSize = 0;  // 0: no text
    bool bold = true;
    const RunSize* runSize = nullptr;  // RunButton: its row of kRunSizes
    // What a screen reader says of it, where the text on screen says too little; run buttons
    // are described from their run size.
    const char* accessibleName = nullptr;
    const char* accessibleDescription = nullptr;
};

inline constexpr int kClientWidth = 570;
inline constexpr int kClientHeight = 636;

extern const char* const kWindowCaption;
extern const char* const kBoxTitle;
extern const char* const kExitPrompt;

// Every control, labels first and back to front, so that later labels and every button and
// picture lie above them; buttons come in keyboard focus order.
std::span<const ControlEntry> controlTable();

// What the control shows: its text, or a run button's needles in groups of three ("10,000").
QString controlText(const ControlEntry& entry);

// The window's face first, then faces that carry the same full-width characters: IPAPGothic
// is metric-compatible with it.
QFont windowFont(int pixelSize, bool bold);

}  // namespace buffon
