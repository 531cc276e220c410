// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "assets/resources.h"

namespace buffon {

QString emblemResource()
{
    return QStringLiteral(":/images/emblem.jpg");
}

QIcon programIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/buffon-needle-32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/icons/buffon-needle-64.png"), QSize(64, 64));
    return icon;
}

}  // namespace buffon
