#pragma once

#include <QRect>
#include <array>

namespace buffon {

enum class ControlKind { Label, Button, Picture, Device };

// One control of the main window as laid out: place and size in pixels of the client area.
struct ControlLayout {
    const char* name;
    ControlKind kind;
    QRect geometry;
    const char* text;   // UTF-8
    int fontPixelSize;  // 0: no text
    bool bold;
};

inline constexpr int kClientWidth = 570;
inline constexpr int kClientHeight = 636;

extern const char* const kWindowCaption;
extern const char* const kFormulaText;
extern const char* const kCreditText;

// Labels come first, back to front, so that later labels and every button and picture lie above
// them; buttons come in keyboard focus order.
extern const std::array<ControlLayout, 17> kControls;

}  // namespace buffon
