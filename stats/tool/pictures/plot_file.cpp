// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/pictures/plot_file.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QPolygonF>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
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

bool plotFontsDrawText()
{
    const QFontMetrics metrics(plotFont(14));
    return std::ranges::all_of(QStringLiteral("a0π"), [&](QChar sign) {
        return metrics.inFont(sign);
    });
}

void drawPlotTitle(QPainter& painter, const QString& title)
{
    // A long rule's figures make a long title: a smaller face before anything is cut off.
    const int width = painter.window().width();
    const int room = width - 2 * 16;
    QFont font;
    for (int size = 18; size >= 11; --size) {
        font = plotFont(size, true);
        if (QFontMetrics(font).horizontalAdvance(title) <= room) {
            break;
        }
    }
    painter.setFont(font);
    const QString shown = QFontMetrics(font).elidedText(title, Qt::ElideRight, room);
    painter.drawText(QRect(0, 18, width, 30), Qt::AlignHCenter, shown);
}

void drawBottomLabel(QPainter& painter, const QString& label)
{
    const QRect window = painter.window();
    painter.drawText(QRect(0, window.height() - 24, window.width(), 20), Qt::AlignHCenter, label);
}

void drawSideLabel(QPainter& painter, int x, int centreY, const QString& label)
{
    painter.save();
    painter.translate(x, centreY);
    painter.rotate(-90);
    painter.drawText(QRect(-200, -10, 400, 20), Qt::AlignCenter, label);
    painter.restore();
}

void drawBeyondMark(QPainter& painter, QPointF tip, Beyond way, const QColor& colour)
{
    // 10 pixels across, 8 back from the tip.
    const bool across = way == Beyond::Left || way == Beyond::Right;
    const double back = way == Beyond::Left || way == Beyond::Up ? 8 : -8;
    const QPointF base = tip + (across ? QPointF(back, 0) : QPointF(0, back));
    const QPointF side = across ? QPointF(0, 5) : QPointF(5, 0);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(QPolygonF({tip, base + side, base - side}));
    painter.restore();
}

QSize plotSizeFor(QSize pixels)
{
    const double scale =
        std::min(double(pixels.width()) / kPlotWidth, double(pixels.height()) / kPlotHeight);
    return {static_cast<int>(std::lround(pixels.width() / scale)),
            static_cast<int>(std::lround(pixels.height() / scale))};
}

namespace {

// Screens and slides take a pixel for the 96th of an inch; so do the vector files' sizes.
constexpr int kPixelsPerInch = 96;

// A painter on `device` that draws the plot's own coordinates over the whole of it, on white.
void paintPlot(QPaintDevice& device, QSize plotSize, const std::function<void(QPainter&)>& paint)
{
    QPainter painter(&device);
    painter.setWindow(QRect(QPoint(), plotSize));
    painter.fillRect(painter.window(), Qt::white);
    paint(painter);
    if (!painter.end()) {
        throw std::runtime_error("the plot could not be drawn");
    }
}

}  // namespace

std::string plotFile(PictureFormat format, QSize pixels, const QString& title,
                     const std::function<void(QPainter&)>& paint)
{
    const QSize plotSize = plotSizeFor(pixels);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == PictureFormat::Pdf) {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(kPixelsPerInch);
        pdf.setPageSize(QPageSize(QSizeF(pixels) * 72 / kPixelsPerInch, QPageSize::Point));
        pdf.setPageMargins(QMarginsF());
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("buffon-needle-stats"));
        paintPlot(pdf, plotSize, paint);
    } else if (format == PictureFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setResolution(kPixelsPerInch);
        svg.setSize(pixels);
        svg.setViewBox(QRect(QPoint(), pixels));
        svg.setTitle(title);
        paintPlot(svg, plotSize, paint);
    } else {
        QImage image(pixels, QImage::Format_RGB32);
        paintPlot(image, plotSize, paint);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(image)) {
            throw std::runtime_error(writer.errorString().toStdString());
        }
    }
    return bytes.toStdString();
}

}  // namespace buffon
