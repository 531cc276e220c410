#include <QLineF>
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

// The painted pixels of the board, moved by (dx, dy).
Pixels Painted(const PixelBoard& board, int dx = 0, int dy = 0)
{
    Pixels painted;
    for (int y = 0; y < kBoardHeight; ++y) {
        for (int x = 0; x < kBoardWidth; ++x) {
            if (board.PixelAt(x, y) != kWhite) {
                painted.insert({x + dx, y + dy});
            }
        }
    }
    return painted;
}

Pixels Segment(QLineF line, QPointF shift = {})
{
    PixelBoard board;
    line.translate(shift);
    board.DrawSegment(line.x1(), line.y1(), line.x2(), line.y2(), PaletteIndex::Black);
    return Painted(board, -shift.x(), -shift.y());
}

}  // namespace

class PixelBoardTest : public QObject {
    Q_OBJECT

private slots:
    void rulingPaintsExactlyTheLines();
    void segmentsStopBeforeTheirEnd_data();
    void segmentsStopBeforeTheirEnd();
    void segmentsAreNearestPixelLines();
    void clippingKeepsTheVisiblePixels_data();
    void clippingKeepsTheVisiblePixels();
    void wildCoordinatesStayInside();
};

void PixelBoardTest::rulingPaintsExactlyTheLines()
{
    PixelBoard board;
    QVERIFY(Painted(board).empty());
    RuleBoard(board, PaletteIndex::LightRed);
    for (int y = 0; y < kBoardHeight; ++y) {
        for (int x = 0; x < kBoardWidth; ++x) {
            const bool onLine = y % 80 == 0 && y >= 80 && y <= 400 && x < 480;
            if (board.PixelAt(x, y) != (onLine ? Rgb{255, 0, 0} : kWhite)) {
                QFAIL(qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
            }
        }
    }
    ClearBoard(board);
    QVERIFY(Painted(board).empty());
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, board.PixelAt(kBoardWidth, 0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, board.PixelAt(-1, 1));
}

void PixelBoardTest::segmentsStopBeforeTheirEnd_data()
{
    QTest::addColumn<QLineF>("line");
    QTest::addColumn<QList<QPoint>>("pixels");
    QTest::newRow("across") << QLineF(10, 10, 14, 10)
                            << QList<QPoint>{{10, 10}, {11, 10}, {12, 10}, {13, 10}};
    QTest::newRow("diagonal") << QLineF(0, 0, 3, 3) << QList<QPoint>{{0, 0}, {1, 1}, {2, 2}};
    QTest::newRow("steep") << QLineF(5, 5, 6, 9) << QList<QPoint>{{5, 5}, {5, 6}, {6, 7}, {6, 8}};
    QTest::newRow("zero length") << QLineF(7, 7, 7, 7) << QList<QPoint>{};
    QTest::newRow("fractions fall in their pixel")
        << QLineF(2.9, 3.5, 5.2, 3.99) << QList<QPoint>{{2, 3}, {3, 3}, {4, 3}};
}

void PixelBoardTest::segmentsStopBeforeTheirEnd()
{
    QFETCH(QLineF, line);
    QFETCH(QList<QPoint>, pixels);
    Pixels expected;
    for (const QPoint& p : pixels) {
        expected.insert({p.x(), p.y()});
    }
    QCOMPARE(Segment(line), expected);
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
            const bool acrossMajor = std::abs(dx) >= std::abs(dy);
            const int steps = std::max(std::abs(dx), std::abs(dy));
            int painted = 0;
            for (int y = std::min(y0, y0 + dy); y <= std::max(y0, y0 + dy); ++y) {
                for (int x = std::min(x0, x0 + dx); x <= std::max(x0, x0 + dx); ++x) {
                    if (board.PixelAt(x, y) == kWhite) {
                        continue;
                    }
                    ++painted;
                    const int along = acrossMajor ? std::abs(x - x0) : std::abs(y - y0);
                    const double ideal = acrossMajor ? y0 + double(dy) * along / steps
                                                     : x0 + double(dx) * along / steps;
                    if (along >= steps || std::fabs((acrossMajor ? y : x) - ideal) > 0.5) {
                        QFAIL(qPrintable(QStringLiteral("to %1, %2: pixel %3, %4")
                                             .arg(dx)
                                             .arg(dy)
                                             .arg(x)
                                             .arg(y)));
                    }
                }
            }
            QCOMPARE(painted, steps);
        }
    }
}

void PixelBoardTest::clippingKeepsTheVisiblePixels_data()
{
    // A segment running off the board shows exactly the pixels of the same segment moved
    // onto the board, moved back and cut at the edge.
    QTest::addColumn<QLineF>("offBoard");
    QTest::addColumn<QPointF>("shift");
    QTest::newRow("below y = 410") << QLineF(100, 400, 127, 479) << QPointF(0, -100);
    QTest::newRow("right of x = 522") << QLineF(500, 100, 556, 140) << QPointF(-100, 0);
    QTest::newRow("past the corner") << QLineF(505, 395, 545, 435) << QPointF(-100, -100);
}

void PixelBoardTest::clippingKeepsTheVisiblePixels()
{
    QFETCH(QLineF, offBoard);
    QFETCH(QPointF, shift);
    const Pixels clipped = Segment(offBoard);
    Pixels expected;
    for (const auto& [x, y] : Segment(offBoard, shift)) {
        if (x < kBoardWidth && y < kBoardHeight) {
            expected.insert({x, y});
        }
    }
    QVERIFY(!clipped.empty());
    QCOMPARE(clipped, expected);
}

void PixelBoardTest::wildCoordinatesStayInside()
{
    // Run under AddressSanitizer, any write past the buffer fails this test.
    constexpr float inf = std::numeric_limits<float>::infinity();
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr float huge = 3e38f;
    PixelBoard board;
    board.DrawSegment(-huge, 205, huge, 205, PaletteIndex::LightBlue);
    Pixels row;
    for (int x = 0; x < kBoardWidth; ++x) {
        row.insert({x, 205});
    }
    QCOMPARE(Painted(board), row);

    board.Clear();
    const float wild[] = {-1, -600, 523, 411, 1e7f, -1e7f, huge, -huge, inf, -inf, nan};
    for (const float a : wild) {
        for (const float b : wild) {
            board.DrawSegment(a, b, b, a, PaletteIndex::LightGreen);
            board.DrawSegment(a, -b, 600, 600, PaletteIndex::LightGreen);
        }
    }
    for (const auto& [x, y] : Painted(board)) {
        QCOMPARE(board.PixelAt(x, y), (Rgb{0, 255, 0}));
    }
}

QTEST_APPLESS_MAIN(PixelBoardTest)
#include "tst_pixel_board.moc"
