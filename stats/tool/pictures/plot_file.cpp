// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/pictures/plot_file.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <stdexcept>

namespace buffon {

QFont plotFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void drawPlotTitle(QPainter& painter, const QString& title)
{
    // A long rule's figures make a long title: a smaller face before anything is cut off.
    constexpr int kRoom = kPlotWidth - 2 * 16;
    QFont font;
    for (int size = 18; size >= 11; --size) {
        font = plotFont(size, true);
        if (QFontMetrics(font).horizontalAdvance(title) <= kRoom) {
            break;
        }
    }
    painter.setFont(font);
    const QString shown = QFontMetrics(font).elidedText(title, Qt::ElideRight, kRoom);
    painter.drawText(QRect(0, 18, kPlotWidth, 30), Qt::AlignHCenter, shown);
}

void drawBottomLabel(QPainter& painter, const QString& label)
{
    painter.drawText(QRect(0, kPlotHeight - 24, kPlotWidth, 20), Qt::AlignHCenter, label);
}

void drawSideLabel(QPainter& painter, int x, int centreY, const QString& label)
{
    painter.save();
    painter.translate(x, centreY);
    painter.rotate(-90);
    painter.drawText(QRect(-200, -10, 400, 20), Qt::AlignCenter, label);
    painter.restore();
}

namespace {

// The plot drawn on a page of its own size, a pixel taken as the 96th of an inch that screens
// and slides take it for, its text kept as text.
void drawPdf(QBuffer& buffer, QSize size, const QString& title,
             const std::function<void(QPainter&)>& paint)
{
    QPdfWriter pdf(&buffer);
    constexpr int kPixelsPerInch = 96;
    pdf.setResolution(kPixelsPerInch);
    pdf.setPageSize(QPageSize(QSizeF(size) * 72 / kPixelsPerInch, QPageSize::Point));
    pdf.setPageMargins(QMarginsF());
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("buffon-needle-stats"));
    QPainter painter(&pdf);
    painter.setWindow(QRect(QPoint(), size));
    painter.fillRect(QRect(QPoint(), size), Qt::white);
    paint(painter);
    if (!painter.end()) {
        throw std::runtime_error("the plot could not be drawn");
    }
}

}  // namespace

std::string plotFile(PictureFormat format, const QString& title,
                     const std::function<void(QPainter&)>& paint)
{
    const QSize size(kPlotWidth, kPlotHeight);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == PictureFormat::Pdf) {
        drawPdf(buffer, size, title, paint);
        return bytes.toStdString();
    }
    if (format == PictureFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(), size));
        svg.setTitle(title);
        QPainter painter(&svg);
        painter.fillRect(QRect(QPoint(), size), Qt::white);
        paint(painter);
        if (!painter.end()) {
            throw std::runtime_error("the plot could not be drawn");
        }
        return bytes.toStdString();
    }
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paint(painter);
    }
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        throw std::runtime_error(writer.errorString().toStdString());
    }
    return bytes.toStdString();
}

}  // namespace buffon
