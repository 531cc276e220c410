// Costs of the experiment core: one needle, one line, one whole 50,000-needle run, and the
// same run painted through QPainter for comparison with the hand-written pixel board.

#include <benchmark/benchmark.h>

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPen>

#include <unistd.h>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "board.h"
#include "experiment_run.h"
#include "needle.h"
#include "palette.h"
#include "pixel_board.h"
#include "random_source.h"
#include "run_services.h"
#include "run_size.h"

namespace {

using namespace buffon;

// A fixed seed keeps every iteration, and every machine, on the same needles.
constexpr float kSeed = 45296.25f;
const RunSize& kLargestRun = kRunSizes[4];

class SilentCue final : public CuePlayer {
public:
    void PlayCue(const std::string&) override {}
};

class FixedClock final : public Clock {
public:
    float SecondsSinceMidnight() override { return kSeed; }
};

class IgnoredCaption final : public Caption {
public:
    void SetCaption(const std::string&) override {}
};

// Drives one open QPainter the way the window would if it painted with Qt rather than into
// its own pixels.
class PainterBoard final : public Board {
public:
    explicit PainterBoard(QPainter& painter) : painter_(painter)
    {
        painter_.setRenderHint(QPainter::Antialiasing, false);
    }

    void Clear() override { painter_.fillRect(0, 0, kBoardWidth, kBoardHeight, Qt::white); }

    void DrawSegment(float x1, float y1, float x2, float y2, PaletteIndex colour) override
    {
        // QPainter::setPen returns early for an equal pen, so a run of one colour costs little.
        painter_.setPen(PenFor(colour));
        painter_.drawLine(QLineF(x1, y1, x2, y2));
    }

private:
    static const QPen& PenFor(PaletteIndex colour)
    {
        static const std::array<QPen, 4> pens{
            MakePen(PaletteIndex::Black), MakePen(PaletteIndex::LightBlue),
            MakePen(PaletteIndex::LightGreen), MakePen(PaletteIndex::LightRed)};
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

    static QPen MakePen(PaletteIndex colour)
    {
        const Rgb rgb = PaletteColour(colour);
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
        const Needle needle = ThrowNeedle(random);
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
        needle = ThrowNeedle(random);
    }
    PixelBoard board;
    std::size_t next = 0;
    for (auto _ : state) {
        DrawNeedle(board, needles[next]);
        next = (next + 1) % kNeedles;
    }
    benchmark::DoNotOptimize(board.Data());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawOneNeedleLine)->Unit(benchmark::kNanosecond);

void RunOnto(Board& board)
{
    SilentCue cue;
    UniformRandomSource random;
    FixedClock clock;
    IgnoredCaption estimate;
    IgnoredCaption count;
    RunContext context{cue, board, random, clock, estimate, count};
    RunExperiment(kLargestRun, context);
}

void BM_Run50000OnPixelBoard(benchmark::State& state)
{
    PixelBoard board;
    for (auto _ : state) {
        RunOnto(board);
        benchmark::DoNotOptimize(board.Data());
    }
    state.SetItemsProcessed(state.iterations() * kLargestRun.needles);
}
BENCHMARK(BM_Run50000OnPixelBoard)->Unit(benchmark::kMillisecond);

void BM_Run50000WithQPainter(benchmark::State& state)
{
    QImage image(kBoardWidth, kBoardHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        PainterBoard board(painter);
        RunOnto(board);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * kLargestRun.needles);
}
BENCHMARK(BM_Run50000WithQPainter)->Unit(benchmark::kMillisecond);

// The console report, followed by how many times slower the QPainter run is than the pixel
// board, from the median when repetitions give one.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    using ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median) {
                continue;
            }
            const std::string name = run.run_name.function_name;
            Figure* figure = name == "BM_Run50000OnPixelBoard"   ? &pixels_
                             : name == "BM_Run50000WithQPainter" ? &painter_
                                                                 : nullptr;
            if (figure && (median || !figure->median)) {
                figure->milliseconds = run.GetAdjustedRealTime();
                figure->median = median;
            }
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        if (pixels_.milliseconds > 0 && painter_.milliseconds > 0) {
            GetOutputStream() << "50,000-needle run, QPainter / PixelBoard ("
                              << (pixels_.median && painter_.median ? "medians" : "single runs")
                              << ", real time): " << painter_.milliseconds / pixels_.milliseconds
                              << "\n";
        }
    }

private:
    struct Figure {
        double milliseconds = 0;
        bool median = false;
    };
    Figure pixels_;
    Figure painter_;
};

bool AsksForOtherFormat(int argc, char** argv)
{
    constexpr std::string_view kFlag = "--benchmark_format=";
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument.substr(0, kFlag.size()) == kFlag &&
            argument.substr(kFlag.size()) != "console") {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool otherFormat = AsksForOtherFormat(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    if (otherFormat) {
        benchmark::RunSpecifiedBenchmarks();
    } else {
        RatioReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Color
                                                     : benchmark::ConsoleReporter::OO_None);
        benchmark::RunSpecifiedBenchmarks(&reporter);
    }
    benchmark::Shutdown();
    return 0;
}
