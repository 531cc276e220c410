// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The desktop's board and results for one clock reading, as the page's must be: the board of a
// screen of the given device pixel ratio, sized by the window's rule, after the window first
// shows (RUN "-") or after a run of kRunSizes[RUN], with the estimate's decimal separator.
//
//   board_pixels SECONDS RATIO SEPARATOR RUN
//
// Standard output gets one line, a JSON object of the board's width and height, the two result
// texts and the run's announcement, then the board's pixels as bytes red, green, blue and alpha,
// row by row.

#include <cstdlib>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "design/board_pixels.h"
#include "design/window_texts.h"
#include "experiment/experiment_run.h"
#include "experiment/scaled_board.h"

namespace {

using namespace buffon;

class SilentCue final : public CuePlayer {
public:
    void play(const std::string&) override {}
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(double seconds) : seconds_(static_cast<float>(seconds)) {}
    float secondsSinceMidnight() override { return seconds_; }

private:
    float seconds_;
};

class HeldText final : public Caption {
public:
    void setText(const std::string& text) override { this->text = text; }
    std::string text;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::cerr << "usage: board_pixels SECONDS RATIO SEPARATOR RUN\n";
        return 2;
    }
    const double ratio = boardRatio(std::strtod(argv[2], nullptr));
    const PixelSize size = boardPixels(ratio);
    ScaledBoard board;
    board.resize(size.width, size.height, ratio);
    ruleBoard(board, PaletteIndex::Black);
    SilentCue cue;
    UniformRandomSource random;
    FixedClock clock(std::strtod(argv[1], nullptr));
    HeldText estimate;
    HeldText count;
    std::string announcement;
    if (std::string(argv[4]) != "-") {
        RunContext context{cue, board, random, clock, estimate, count, argv[3]};
        runExperiment(kRunSizes.at(std::stoul(argv[4])), context);
        announcement = runAnnouncement(count.text, estimate.text);
    }
    std::cout << nlohmann::json{{"width", size.width},
                                {"height", size.height},
                                {"estimate", estimate.text},
                                {"count", count.text},
                                {"announcement", announcement}}
              << '\n';
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            const Rgb rgb = board.pixels().pixelAt(x, y);
            std::cout << rgb.red << rgb.green << rgb.blue << '\xff';
        }
    }
    return std::cout.flush() ? 0 : 1;
}
