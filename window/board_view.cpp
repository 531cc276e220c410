#include "board_view.h"

#include <QPainter>

namespace buffon {

BoardView::BoardView(const PixelBoard& board, QWidget* parent)
    : QFrame(parent),
      image_(reinterpret_cast<const uchar*>(board.Data()), kBoardWidth, kBoardHeight,
             kBoardWidth * 4, QImage::Format_RGB32)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardView::paintEvent(QPaintEvent* event)
{
    changed_ = false;
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.drawImage(contentsRect().topLeft(), image_);
}

}  // namespace buffon
