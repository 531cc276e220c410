// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <functional>

class QPainter;

namespace buffon {

// A plot as the bytes of its file: SVG where the path ends in .svg, so that it scales to any
// slide, PNG otherwise. `paint` draws it on a white ground of the given size.
QByteArray plotFile(const QString& path, QSize size, const QString& title,
                    const std::function<void(QPainter&)>& paint);

}  // namespace buffon
