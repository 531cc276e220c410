// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "window/control_table.h"

#include <QStringList>

#include "design/window_texts.h"

namespace buffon {

QRect controlGeometry(const ControlDesign& control, double scale)
{
    const Place& place = control.place;
    const auto scaled = [scale](int length) {
        return qRound(length * scale);
    };
    return {scaled(place.left), scaled(place.top), scaled(place.width), scaled(place.height)};
}

QString shownText(const ControlDesign& control)
{
    return utf8Text(controlText(control));
}

QString utf8Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont windowFont(int pixelSize, bool bold)
{
    QStringList families;
    for (const char* family : fontFamilies()) {
        families << QString::fromUtf8(family);
    }
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

}  // namespace buffon
