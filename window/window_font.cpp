#include "window_font.h"

namespace buffon {

QStringList WindowFontFamilies()
{
    return {QStringLiteral("ＭＳ Ｐゴシック"),    QStringLiteral("MS PGothic"),
            QStringLiteral("IPAPGothic"),         QStringLiteral("IPAexGothic"),
            QStringLiteral("Noto Sans CJK JP"),   QStringLiteral("VL PGothic"),
            QStringLiteral("Droid Sans Fallback")};
}

QFont WindowFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies(WindowFontFamilies());
    font.setStyleHint(QFont::SansSerif);
    // Pixel sizes keep the fixed layout intact at any screen resolution.
    font.setPixelSize(pixelSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

}  // namespace buffon
