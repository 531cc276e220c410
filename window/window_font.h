#pragma once

#include <QFont>
#include <QStringList>

namespace buffon {

// The window's face first, then faces that carry the same full-width characters: IPAPGothic
// is metric-compatible with it.
QStringList WindowFontFamilies();

QFont WindowFont(int pixelSize, bool bold);

}  // namespace buffon
