// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QFont>
#include <QSize>
#include <QString>
#include <functional>

class QPainter;

namespace buffon {

// A plot as the bytes of its file: SVG where the path ends in .svg, so that it scales to any
// slide, PNG otherwise. `paint` draws it on a white ground of the given size.
// The plots' face: the window's metric-compatible Japanese face where it is installed, else
// DejaVu Sans; both have pi and the other signs the plots use.
QFont plotFont(int pixelSize, bool bold = false);

QByteArray plotFile(const QString& path, QSize size, const QString& title,
                    const std::function<void(QPainter&)>& paint);

}  // namespace buffon
