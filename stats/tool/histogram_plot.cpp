#include "stats/tool/histogram_plot.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace buffon {
namespace {

constexpr int kLeft = 80;
constexpr int kRight = 40;
constexpr int kTop = 96;
constexpr int kBottom = 60;
constexpr QRect kArea(kLeft, kTop, HistogramPlot::kWidth - kLeft - kRight,
                      HistogramPlot::kHeight - kTop - kBottom);

// A tick spacing of 1, 2 or 5 times a power of ten giving about `ticks` ticks over `span`.
double tickStep(double span, int ticks)
{
    const double rough = span / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            return factor * power;
        }
    }
    return 10.0 * power;
}

int decimalsFor(double step)
{
    return std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
}

}  // namespace

HistogramPlot::HistogramPlot(std::span<const double> estimates, double mean) : mean_(mean)
{
    const auto [smallest, largest] = std::minmax_element(estimates.begin(), estimates.end());
    // The Rice rule, kept within what the plot's width can show.
    const int bins = std::clamp(
        static_cast<int>(std::lround(2.0 * std::cbrt(static_cast<double>(estimates.size())))), 5,
        80);
    double spread = *largest - *smallest;
    if (spread <= 0) {
        spread = std::max(std::abs(*smallest) * 1e-3, 1e-3);
    }
    binWidth_ = spread / (bins - 1);
    const double first = *smallest - binWidth_ / 2;
    counts_.assign(static_cast<std::size_t>(bins), 0);
    for (const double value : estimates) {
        const auto bin = static_cast<std::size_t>(
            std::clamp(std::floor((value - first) / binWidth_), 0.0, bins - 1.0));
        ++counts_[bin];
    }
    // Pi stays in view even when every estimate misses it.
    low_ = std::min(first, std::numbers::pi);
    high_ = std::max(first + bins * binWidth_, std::numbers::pi);
    const double margin = (high_ - low_) * 0.04;
    low_ -= margin;
    high_ += margin;
    binsFirst_ = first;
}

int HistogramPlot::columnOf(double value) const
{
    return kArea.left() +
           static_cast<int>(std::lround((value - low_) / (high_ - low_) * (kArea.width() - 1)));
}

QImage HistogramPlot::draw(const QString& title) const
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(14);
    painter.setFont(font);

    const int tallest = *std::max_element(counts_.begin(), counts_.end());
    const double countStep = std::max(1.0, tickStep(tallest, 5));  // whole runs only
    const double countTop = std::ceil(tallest / countStep) * countStep;
    const auto rowOf = [&](double count) {
        return kArea.bottom() - static_cast<int>(std::lround(count / countTop * kArea.height()));
    };

    painter.setPen(QColor(0xd8, 0xd8, 0xd8));
    for (double count = countStep; count <= countTop + countStep / 2; count += countStep) {
        painter.drawLine(kArea.left(), rowOf(count), kArea.right(), rowOf(count));
    }
    painter.setPen(QColor(0x40, 0x60, 0x90));
    painter.setBrush(QColor(0x9b, 0xb7, 0xd4));
    for (std::size_t bin = 0; bin < counts_.size(); ++bin) {
        if (counts_[bin] == 0) {
            continue;
        }
        const double from = binsFirst_ + static_cast<double>(bin) * binWidth_;
        const int left = columnOf(from);
        const int right = std::max(columnOf(from + binWidth_), left + 1);
        painter.drawRect(QRect(QPoint(left, rowOf(counts_[bin])), QPoint(right, kArea.bottom())));
    }

    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::black);
    painter.drawLine(kArea.bottomLeft(), kArea.bottomRight());
    painter.drawLine(kArea.bottomLeft(), kArea.topLeft());
    const QFontMetrics metrics(font);
    for (double count = 0; count <= countTop + countStep / 2; count += countStep) {
        const QString text = QString::number(count, 'f', 0);
        painter.drawText(kArea.left() - 8 - metrics.horizontalAdvance(text),
                         rowOf(count) + metrics.ascent() / 2, text);
    }
    const double valueStep = tickStep(high_ - low_, 8);
    const int decimals = decimalsFor(valueStep);
    for (double value = std::ceil(low_ / valueStep) * valueStep; value <= high_;
         value += valueStep) {
        const int column = columnOf(value);
        painter.drawLine(column, kArea.bottom(), column, kArea.bottom() + 5);
        const QString text = QString::number(value, 'f', decimals);
        painter.drawText(column - metrics.horizontalAdvance(text) / 2,
                         kArea.bottom() + 8 + metrics.ascent(), text);
    }
    painter.drawText(QRect(0, kHeight - 24, kWidth, 20), Qt::AlignHCenter,
                     QStringLiteral("estimate of π"));
    painter.save();
    painter.translate(20, kArea.center().y());
    painter.rotate(-90);
    painter.drawText(QRect(-100, -10, 200, 20), Qt::AlignCenter, QStringLiteral("runs"));
    painter.restore();

    // The two markers run the plot's full height; their legend sits above it, clear of bars.
    const auto mark = [&](double value, QRgb colour, Qt::PenStyle style, const QString& label,
                          int legendX) {
        const QPen pen(QColor::fromRgb(colour), 2, style, Qt::FlatCap);
        painter.setPen(pen);
        const int column = columnOf(value);
        painter.drawLine(column, kArea.top(), column, kArea.bottom());
        const int legendY = kTop - 22;
        painter.drawLine(legendX, legendY, legendX + 28, legendY);
        painter.setPen(Qt::black);
        painter.drawText(legendX + 36, legendY + metrics.ascent() / 2 - 1, label);
        return legendX + 36 + metrics.horizontalAdvance(label) + 32;
    };
    int legendX = kArea.left() + 8;
    legendX = mark(std::numbers::pi, kPiColour, Qt::SolidLine,
                   QStringLiteral("π = %1").arg(std::numbers::pi, 0, 'f', 5), legendX);
    mark(mean_, kMeanColour, Qt::DashLine,
         QStringLiteral("mean of the estimates = %1").arg(mean_, 0, 'f', 5), legendX);

    painter.setPen(Qt::black);
    QFont titleFont = font;
    titleFont.setPixelSize(18);
    titleFont.setBold(true);
    painter.setFont(titleFont);
    painter.drawText(QRect(0, 18, kWidth, 30), Qt::AlignHCenter, title);
    return image;
}

}  // namespace buffon
