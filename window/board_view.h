#pragma once

#include <QFrame>
#include <QImage>

#include "pixel_board.h"

namespace buffon {

// The board on screen: a sunken two-pixel edge around the pixel board, which it shows as it is.
// The picture survives being covered because the pixels live in the board, not on screen.
class BoardView final : public QFrame {
    Q_OBJECT

public:
    explicit BoardView(const PixelBoard& board, QWidget* parent = nullptr);

    // Schedules a paint unless one is already due: cheap enough to call for every needle.
    void markChanged()
    {
        if (!changed_) {
            changed_ = true;
            update();
        }
    }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
    bool changed_ = false;
};

}  // namespace buffon
