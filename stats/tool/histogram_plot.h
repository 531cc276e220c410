#pragma once

#include <QImage>
#include <QString>
#include <span>
#include <vector>

namespace buffon {

// A histogram of a batch's estimates of pi with the true pi and the estimates' mean marked,
// drawn with QtGui alone, so it needs no display.
class HistogramPlot {
public:
    static constexpr int kWidth = 960;
    static constexpr int kHeight = 560;
    static constexpr QRgb kPiColour = 0xffd01010;
    static constexpr QRgb kMeanColour = 0xff1050d0;

    // `estimates` must not be empty.
    HistogramPlot(std::span<const double> estimates, double mean);

    QImage draw(const QString& title) const;
    // The image column a value falls on.
    int columnOf(double value) const;

private:
    double low_ = 0;
    double high_ = 0;
    double binWidth_ = 0;
    double binsFirst_ = 0;
    double mean_ = 0;
    std::vector<int> counts_;
};

}  // namespace buffon
