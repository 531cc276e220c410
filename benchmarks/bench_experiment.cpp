// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// Costs of the experiment core: one needle, one line, one whole 50,000-needle run on the board
// of a 1x and of a 2x screen, and the same run painted through QPainter for comparison with
// the hand-written pixel board.

#include <benchmark/benchmark.h>

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPen>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "experiment/board.h"
#include "experiment/experiment_run.h"
#include "experiment/needle.h"
#include "experiment/palette.h"
#include "experiment/pixel_board.h"
#include "experiment/random_source.h"
#include "experiment/run_services.h"
#include "experiment/run_size.h"

namespace {

using namespace buffon;

// A fixed seed keeps every iteration, and every machine, on the same needles.
constexpr float kSeed = 45296.25f;
const RunSize& kLargestRun = kRunSizes[4];

class SilentCue final : public CuePlayer {
public:
    void play(const std::string&) override {}
};

class FixedClock final : public Clock {
public:
    float secondsSinceMidnight() override { return kSeed; }
};

class IgnoredCaption final : public Caption {
public:
    void setText(const std::string&) override {}
};

// Drives one open QPainter the way the window would if it painted with Qt rather than into
// its own pixels.
class PainterBoard final : public Board {
public:
    explicit PainterBoard(QPainter& painter) : painter_(painter)
    {
        painter_.setRenderHint(QPainter::Antialiasing, false);
    }

    void clear() override { painter_.fillRect(0, 0, kBoardWidth, kBoardHeight, Qt::white); }

    void drawSegment(float x1, float y1, float x2, float y2, PaletteIndex colour) override
    {
        // QPainter::setPen returns early for an equal pen, so a run of one colour costs little.
        painter_.setPen(penFor(colour));
        painter_.drawLine(QLineF(x1, y1, x2, y2));
    }

private:
    static const QPen& penFor(PaletteIndex colour)
    {
        static const std::array<QPen, 4> pens{
            makePen(PaletteIndex::Black), makePen(PaletteIndex::LightBlue),
            makePen(PaletteIndex::LightGreen), makePen(PaletteIndex::LightRed)};
        switch (colour) {
        case PaletteIndex::Black:
            return pens[0];
        case PaletteIndex::LightBlue:
            return pens[1];
        case PaletteIndex::LightGreen:
            return pens[2];
        case PaletteIndex::LightRed:
            return pens[3];
        }
        return pens[0];
    }

    static QPen makePen(PaletteIndex colour)
    {
        const Rgb rgb = paletteColour(colour);
        QPen pen(QColor(rgb.red, rgb.green, rgb.blue));
        pen.setWidth(1);
        return pen;
    }

    QPainter& painter_;
};

void BM_ThrowAndClassify(benchmark::State& state)
{
    UniformRandomSource random(kSeed);
    for (auto _ : state) {
        const Needle needle = throwNeedle(random);
        benchmark::DoNotOptimize(needle.outcome);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ThrowAndClassify)->Unit(benchmark::kNanosecond);

void BM_DrawOneNeedleLine(benchmark::State& state)
{
    // Enough needles to average over all angles and colours, few enough to stay in cache, as
    // the needles of a real run do: each is drawn straight after it is thrown.
    constexpr std::size_t kNeedles = 4096;
    UniformRandomSource random(kSeed);
    std::vector<Needle> needles(kNeedles);
    for (Needle& needle : needles) {
        needle = throwNeedle(random);
    }
    PixelBoard board;
    std::size_t next = 0;
    for (auto _ : state) {
        drawNeedle(board, needles[next]);
        next = (next + 1) % kNeedles;
    }
    benchmark::DoNotOptimize(board.data());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawOneNeedleLine)->Unit(benchmark::kNanosecond);

void runOnto(Board& board)
{
    SilentCue cue;
    UniformRandomSource random;
    FixedClock clock;
    IgnoredCaption estimate;
    IgnoredCaption count;
    RunContext context{cue, board, random, clock, estimate, count};
    runExperiment(kLargestRun, context);
}

// At the device pixel ratio of the screen, in percent: the board of a 2x screen has four times
// the pixels, and every needle twice as many.
void BM_Run50000OnPixelBoard(benchmark::State& state)
{
    const double scale = static_cast<double>(state.range(0)) / 100;
    PixelBoard board(static_cast<int>(std::ceil(kBoardWidth * scale)),
                     static_cast<int>(std::ceil(kBoardHeight * scale)), scale);
    for (auto _ : state) {
        runOnto(board);
        benchmark::DoNotOptimize(board.data());
    }
    state.SetItemsProcessed(state.iterations() * kLargestRun.needles);
}
BENCHMARK(BM_Run50000OnPixelBoard)
    ->ArgName("ratio_percent")
    ->Arg(100)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond);

void BM_Run50000WithQPainter(benchmark::State& state)
{
    QImage image(kBoardWidth, kBoardHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        PainterBoard board(painter);
        runOnto(board);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * kLargestRun.needles);
}
BENCHMARK(BM_Run50000WithQPainter)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
