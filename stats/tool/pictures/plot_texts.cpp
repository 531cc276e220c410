// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/pictures/plot_texts.h"

#include <QLocale>

#include "experiment/number_text.h"

namespace buffon {
namespace {

// What a class calls each rule; a rule without a name here does not compile.
QString nameOf(const WindowRule&)
{
    return QStringLiteral("window's rule");
}
QString nameOf(const GeometricRule&)
{
    return QStringLiteral("textbook's rule");
}

}  // namespace

QString grouped(long long count)
{
    return QLocale(QLocale::English).toString(count);
}

QString counted(long long count, const QString& one, const QString& many)
{
    return QStringLiteral("%1 %2").arg(grouped(count), count == 1 ? one : many);
}

QString ruleTitle(const NeedleRule& rule)
{
    return std::visit(
        [](const auto& r) {
            QString title = nameOf(r);
            for (const auto& parameter : r.kParameters) {
                title += QStringLiteral(", %1 = %2")
                             .arg(QString::fromUtf8(parameter.valueName),
                                  QString::fromStdString(numberText(r.*parameter.value)));
            }
            return title;
        },
        rule);
}

}  // namespace buffon
