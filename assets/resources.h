// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QIcon>
#include <QString>

namespace buffon {

// The images built into the program.
QString emblemResource();
QIcon programIcon();

}  // namespace buffon
