// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include <QLineF>
#include <QTest>
#include <cmath>
#include <limits>
#include <set>
#include <utility>

#include "design/board_pixels.h"
#include "experiment/needle.h"
#include "experiment/pixel_board.h"
#include "experiment/random_source.h"

using namespace buffon;

namespace {

constexpr Rgb kWhite{255, 255, 255};

using Pixels = std::set<std::pair<int, int>>;

// The painted pixels of the board, moved by (dx, dy).
Pixels painted(const PixelBoard& board, int dx = 0, int dy = 0)
{
    Pixels painted;
    for (int y = 0; y < board.height(); ++y) {
        for (int x = 0; x < board.width(); ++x) {
            if (board.pixelAt(x, y) != kWhite) {
                painted.insert({x + dx, y + dy});
            }
        }
    }
    return painted;
}

Pixels segment(QLineF line, QPointF shift = {})
{
    PixelBoard board;
    line.translate(shift);
    board.drawSegment(line.x1(), line.y1(), line.x2(), line.y2(), PaletteIndex::Black);
    return painted(board, -shift.x(), -shift.y());
}

}  // namespace

class PixelBoardTest : public QObject {
    Q_OBJECT

private slots:
    void segmentsAreNearestPixelLines()
    {
        // Every direction a needle can take: one pixel per step of the longer axis, each the
        // nearest to the line between the pixels its ends fall in, the end pixel left out.
        constexpr int x0 = 200;
        constexpr int y0 = 200;
        PixelBoard board;
        for (int dx = -57; dx <= 57; ++dx) {
            for (int dy = -57; dy <= 57; ++dy) {
                board.clear();
                board.drawSegment(x0 + 0.9f, y0 + 0.25f, x0 + dx + 0.5f, y0 + dy,
                                  PaletteIndex::Black);
                const bool acrossMajor = std::abs(dx) >= std::abs(dy);
                const int steps = std::max(std::abs(dx), std::abs(dy));
                int painted = 0;
                for (int y = std::min(y0, y0 + dy); y <= std::max(y0, y0 + dy); ++y) {
                    for (int x = std::min(x0, x0 + dx); x <= std::max(x0, x0 + dx); ++x) {
                        if (board.pixelAt(x, y) == kWhite) {
                            continue;
                        }
                        ++painted;
                        const int along = acrossMajor ? std::abs(x - x0) : std::abs(y - y0);
                        const double ideal = acrossMajor ? y0 + double(dy) * along / steps
                                                         : x0 + double(dx) * along / steps;
                        if (along >= steps || std::fabs((acrossMajor ? y : x) - ideal) > 0.5) {
                            QFAIL(qPrintable(
                                QStringLiteral("to %1, %2: %3, %4").arg(dx).arg(dy).arg(x).arg(y)));
                        }
                    }
                }
                QCOMPARE(painted, steps);
            }
        }
    }

    void clippingKeepsTheVisiblePixels_data()
    {
        // A segment running off the board shows exactly the pixels of another segment on the
        // same pixel line, moved by a shift, moved back and cut at the edge. Ends far beyond
        // the board are pulled in along the segment before it is walked.
        QTest::addColumn<QLineF>("offBoard");
        QTest::addColumn<QLineF>("sameLine");
        QTest::addColumn<QPointF>("shift");
        const QLineF rising(-50, -40, 600, 610);
        QTest::newRow("below y = 410")
            << QLineF(100, 400, 127, 479) << QLineF(100, 400, 127, 479) << QPointF(0, -100);
        QTest::newRow("right of x = 522")
            << QLineF(500, 100, 556, 140) << QLineF(500, 100, 556, 140) << QPointF(-100, 0);
        QTest::newRow("past the corner")
            << QLineF(505, 395, 545, 435) << QLineF(505, 395, 545, 435) << QPointF(-100, -100);
        QTest::newRow("far on both sides")
            << QLineF(-1e6, -1e6 + 10, 1e6, 1e6 + 10) << rising << QPointF();
        QTest::newRow("far back") << QLineF(1e6, 1e6 + 10, -1e6, -1e6 + 10) << rising << QPointF();
        QTest::newRow("far above and below")
            << QLineF(-1e6, 1e6 + 300, 1e6, -1e6 + 300) << QLineF(-50, 350, 600, -300) << QPointF();
        QTest::newRow("far across")
            << QLineF(-1e9, 205, 1e9, 205) << QLineF(-10, 205, 600, 205) << QPointF();
        QTest::newRow("far down") << QLineF(300, -1e7, 300, 1e7) << QLineF(300, -5, 300, 500)
                                  << QPointF();
    }

    void clippingKeepsTheVisiblePixels()
    {
        QFETCH(QLineF, offBoard);
        QFETCH(QLineF, sameLine);
        QFETCH(QPointF, shift);
        const Pixels clipped = segment(offBoard);
        Pixels expected;
        for (const auto& [x, y] : segment(sameLine, shift)) {
            if (x >= 0 && y >= 0 && x < kBoardWidth && y < kBoardHeight) {
                expected.insert({x, y});
            }
        }
        QVERIFY(!clipped.empty());
        QCOMPARE(clipped, expected);
    }

    void scaledBoardsDrawTheSameNeedlesInFinerPixels_data()
    {
        QTest::addColumn<double>("scale");
        QTest::newRow("1.25") << 1.25;
        QTest::newRow("1.5") << 1.5;
    }

    void scaledBoardsDrawTheSameNeedlesInFinerPixels()
    {
        // The board of a screen with `scale` device pixels to the layout's pixel: the ruled lines
        // one of its pixels high, and each needle as many pixels long as the scale makes it, every
        // one over a unit that has the needle at 1x or next to one.
        QFETCH(double, scale);
        PixelBoard fine(int(std::ceil(kBoardWidth * scale)), int(std::ceil(kBoardHeight * scale)),
                        scale);
        ruleBoard(fine, PaletteIndex::Black);
        Pixels ruled;
        for (int x = 0; x < kLineEnd * scale; ++x) {
            for (const int line : kRuledLines) {
                ruled.insert({x, int(line * scale)});
            }
        }
        QCOMPARE(painted(fine), ruled);
        PixelBoard coarse;
        UniformRandomSource random(45296.25f);
        for (int needles = 0; needles < 100;) {
            const Needle needle = throwNeedle(random);
            // The bottom edge falls within a pixel of a scaled board: the needles above it.
            if (std::max<double>(needle.startPixelY, needle.endPixelY) >= kBoardHeight) {
                continue;
            }
            ++needles;
            fine.clear();
            coarse.clear();
            drawNeedle(fine, needle);
            drawNeedle(coarse, needle);
            const Pixels thin = painted(fine);
            const Pixels wide = painted(coarse);
            QVERIFY(qAbs(double(thin.size()) - scale * double(wide.size())) <= 2);
            for (const auto& [x, y] : thin) {
                const int unitX = int((x + 0.5) / scale);
                const int unitY = int((y + 0.5) / scale);
                int near = 0;
                for (int at = 0; at < 9; ++at) {
                    near += int(wide.count({unitX + at % 3 - 1, unitY + at / 3 - 1}));
                }
                QVERIFY(near > 0);
            }
        }
    }

    void wildCoordinatesStayInside()
    {
        // Run under AddressSanitizer, any write past the buffer fails this test.
        constexpr float inf = std::numeric_limits<float>::infinity();
        constexpr float nan = std::numeric_limits<float>::quiet_NaN();
        constexpr float huge = 3e38f;
        // A screen that gives no ratio, or a wild one, gets a board that can be made.
        for (const double wild : {0.0, -2.0, double(nan)}) {
            QCOMPARE(boardRatio(wild), 1.0);
        }
        QCOMPARE(boardRatio(1e9), kDensestRatio);
        PixelBoard board;
        // Nothing from a segment with a coordinate that is no number, or wholly far off.
        for (const QLineF& none : {QLineF(nan, 10, 20, 30), QLineF(10, nan, 20, 30),
                                   QLineF(10, 20, nan, 30), QLineF(10, 20, 30, nan),
                                   QLineF(-huge, 100, -1e38, 200), QLineF(100, 1e38, 200, huge)}) {
            board.drawSegment(none.x1(), none.y1(), none.x2(), none.y2(), PaletteIndex::LightBlue);
        }
        QVERIFY(painted(board).empty());
        const float wild[] = {-1, -600, 523, 411, 1e7f, -1e7f, huge, -huge, inf, -inf, nan};
        for (const float a : wild) {
            for (const float b : wild) {
                board.drawSegment(a, b, b, a, PaletteIndex::LightGreen);
                board.drawSegment(a, -b, 600, 600, PaletteIndex::LightGreen);
            }
        }
        for (const auto& [x, y] : painted(board)) {
            QCOMPARE(board.pixelAt(x, y), (Rgb{0, 255, 0}));
        }
    }
};

QTEST_APPLESS_MAIN(PixelBoardTest)
#include "tst_pixel_board.moc"
