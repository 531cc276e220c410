#include <QLineF>
#include <QPointF>
#include <QTest>
#include <cmath>
#include <limits>
#include <set>
#include <utility>

#include "pixel_board.h"

using namespace buffon;

namespace {

constexpr Rgb kWhite{255, 255, 255};

using Pixels = std::set<std::pair<int, int>>;

Pixels PaintedPixels(const PixelBoard& board)
{
    Pixels painted;
    for (int y = 0; y < kBoardHeight; ++y) {
        for (int x = 0; x < kBoardWidth; ++x) {
            if (board.PixelAt(x, y) != kWhite) {
                painted.insert({x, y});
            }
        }
    }
    return painted;
}

Pixels Shifted(const Pixels& pixels, int dx, int dy)
{
    Pixels shifted;
    for (const auto& [x, y] : pixels) {
        shifted.insert({x + dx, y + dy});
    }
    return shifted;
}

Pixels Within(const Pixels& pixels, int maxX, int maxY)
{
    Pixels inside;
    for (const auto& pixel : pixels) {
        if (pixel.first <= maxX && pixel.second <= maxY) {
            inside.insert(pixel);
        }
    }
    return inside;
}

Pixels Segment(float x1, float y1, float x2, float y2)
{
    PixelBoard board;
    board.DrawSegment(x1, y1, x2, y2, PaletteIndex::Black);
    return PaintedPixels(board);
}

}  // namespace

class PixelBoardTest : public QObject {
    Q_OBJECT

private slots:
    void startsWhite();
    void rulingPaintsExactlyTheLines_data();
    void rulingPaintsExactlyTheLines();
    void segmentsStopBeforeTheirEnd_data();
    void segmentsStopBeforeTheirEnd();
    void segmentsAreNearestPixelLines();
    void clippingKeepsTheVisiblePixels_data();
    void clippingKeepsTheVisiblePixels();
    void wildCoordinatesStayInside();
    void clearWipesEverything();
};

void PixelBoardTest::startsWhite()
{
    PixelBoard board;
    QVERIFY(PaintedPixels(board).empty());
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, board.PixelAt(kBoardWidth, 0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, board.PixelAt(-1, 1));
}

void PixelBoardTest::rulingPaintsExactlyTheLines_data()
{
    QTest::addColumn<int>("colour");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::newRow("black") << int(PaletteIndex::Black) << 0 << 0 << 0;
    QTest::newRow("light red") << int(PaletteIndex::LightRed) << 255 << 0 << 0;
}

void PixelBoardTest::rulingPaintsExactlyTheLines()
{
    QFETCH(int, colour);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    PixelBoard board;
    RuleBoard(board, PaletteIndex(colour));
    const Rgb line{std::uint8_t(red), std::uint8_t(green), std::uint8_t(blue)};
    for (int y = 0; y < kBoardHeight; ++y) {
        for (int x = 0; x < kBoardWidth; ++x) {
            const bool onLine = y % 80 == 0 && y >= 80 && y <= 400 && x < 480;
            if (board.PixelAt(x, y) != (onLine ? line : kWhite)) {
                QFAIL(qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
            }
        }
    }
}

void PixelBoardTest::segmentsStopBeforeTheirEnd_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QList<QPoint>>("pixels");
    QTest::newRow("across") << QPointF(10, 10) << QPointF(14, 10)
                            << QList<QPoint>{{10, 10}, {11, 10}, {12, 10}, {13, 10}};
    QTest::newRow("backwards") << QPointF(14, 10) << QPointF(10, 10)
                               << QList<QPoint>{{14, 10}, {13, 10}, {12, 10}, {11, 10}};
    QTest::newRow("diagonal") << QPointF(0, 0) << QPointF(3, 3)
                              << QList<QPoint>{{0, 0}, {1, 1}, {2, 2}};
    QTest::newRow("steep") << QPointF(5, 5) << QPointF(6, 9)
                           << QList<QPoint>{{5, 5}, {5, 6}, {6, 7}, {6, 8}};
    QTest::newRow("zero length") << QPointF(7, 7) << QPointF(7, 7) << QList<QPoint>{};
    QTest::newRow("fractions fall in their pixel")
        << QPointF(2.9, 3.5) << QPointF(5.2, 3.99) << QList<QPoint>{{2, 3}, {3, 3}, {4, 3}};
}

void PixelBoardTest::segmentsStopBeforeTheirEnd()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(QList<QPoint>, pixels);
    Pixels expected;
    for (const QPoint& p : pixels) {
        expected.insert({p.x(), p.y()});
    }
    QCOMPARE(Segment(float(from.x()), float(from.y()), float(to.x()), float(to.y())), expected);
}

void PixelBoardTest::segmentsAreNearestPixelLines()
{
    // Every direction a needle can take: one pixel per step of the longer axis, each the nearest
    // to the true line, the end pixel left out.
    constexpr int x0 = 200;
    constexpr int y0 = 200;
    PixelBoard board;
    for (int dx = -57; dx <= 57; ++dx) {
        for (int dy = -57; dy <= 57; ++dy) {
            board.Clear();
            board.DrawSegment(x0, y0, x0 + dx, y0 + dy, PaletteIndex::Black);
            Pixels pixels;
            for (int y = std::min(y0, y0 + dy); y <= std::max(y0, y0 + dy); ++y) {
                for (int x = std::min(x0, x0 + dx); x <= std::max(x0, x0 + dx); ++x) {
                    if (board.PixelAt(x, y) != kWhite) {
                        pixels.insert({x, y});
                    }
                }
            }
            const int steps = std::max(std::abs(dx), std::abs(dy));
            QCOMPARE(int(pixels.size()), steps);
            for (const auto& [x, y] : pixels) {
                const bool acrossMajor = std::abs(dx) >= std::abs(dy);
                const int along =
                    acrossMajor ? (x - x0) * (dx < 0 ? -1 : 1) : (y - y0) * (dy < 0 ? -1 : 1);
                const double ideal =
                    acrossMajor ? y0 + double(dy) * along / steps : x0 + double(dx) * along / steps;
                const int minor = acrossMajor ? y : x;
                if (along < 0 || along >= steps || std::fabs(minor - ideal) > 0.5) {
                    QFAIL(qPrintable(
                        QStringLiteral("to %1, %2: pixel %3, %4").arg(dx).arg(dy).arg(x).arg(y)));
                }
            }
        }
    }
}

void PixelBoardTest::clippingKeepsTheVisiblePixels_data()
{
    // A segment running off the board shows exactly the pixels of the same segment moved
    // onto the board, moved back and cut at the edge.
    QTest::addColumn<QLineF>("offBoard");
    QTest::addColumn<QPoint>("shift");
    QTest::newRow("below y = 410") << QLineF(100, 400, 127, 479) << QPoint(0, -100);
    QTest::newRow("from below") << QLineF(300, 470, 260, 402) << QPoint(0, -100);
    QTest::newRow("right of x = 522") << QLineF(500, 100, 556, 140) << QPoint(-100, 0);
    QTest::newRow("past the corner") << QLineF(505, 395, 545, 435) << QPoint(-100, -100);
}

void PixelBoardTest::clippingKeepsTheVisiblePixels()
{
    QFETCH(QLineF, offBoard);
    QFETCH(QPoint, shift);
    const Pixels clipped = Segment(offBoard.x1(), offBoard.y1(), offBoard.x2(), offBoard.y2());
    const Pixels whole = Segment(offBoard.x1() + shift.x(), offBoard.y1() + shift.y(),
                                 offBoard.x2() + shift.x(), offBoard.y2() + shift.y());
    QVERIFY(!clipped.empty());
    QCOMPARE(clipped,
             Within(Shifted(whole, -shift.x(), -shift.y()), kBoardWidth - 1, kBoardHeight - 1));
}

void PixelBoardTest::wildCoordinatesStayInside()
{
    // Run under AddressSanitizer, any write past the buffer fails this test.
    constexpr float inf = std::numeric_limits<float>::infinity();
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr float huge = 3e38f;
    PixelBoard board;
    board.DrawSegment(-huge, 205, huge, 205, PaletteIndex::LightBlue);
    for (int x = 0; x < kBoardWidth; ++x) {
        QCOMPARE(board.PixelAt(x, 205), (Rgb{0, 0, 255}));
    }
    QCOMPARE(PaintedPixels(board).size(), std::size_t(kBoardWidth));

    board.Clear();
    const float wild[] = {-1, -600, 523, 411, 1e7f, -1e7f, huge, -huge, inf, -inf, nan};
    for (const float a : wild) {
        for (const float b : wild) {
            board.DrawSegment(a, b, b, a, PaletteIndex::LightGreen);
            board.DrawSegment(a, -b, 600, 600, PaletteIndex::LightGreen);
        }
    }
    for (const auto& [x, y] : PaintedPixels(board)) {
        QCOMPARE(board.PixelAt(x, y), (Rgb{0, 255, 0}));
    }
}

void PixelBoardTest::clearWipesEverything()
{
    PixelBoard board;
    RuleBoard(board, PaletteIndex::Black);
    board.DrawSegment(0, 0, 522, 410, PaletteIndex::LightGreen);
    QVERIFY(!PaintedPixels(board).empty());
    ClearBoard(board);
    QVERIFY(PaintedPixels(board).empty());
}

QTEST_APPLESS_MAIN(PixelBoardTest)
#include "tst_pixel_board.moc"
