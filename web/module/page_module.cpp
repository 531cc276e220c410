// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The experiment as the page calls it, through a small C interface: the window's board, random
// source and result texts live here between events, and the page hands in the clock and plays
// the cues.

#include <emscripten/emscripten.h>

#include <cstdint>
#include <string>
#include <vector>

#include "design/board_pixels.h"
#include "design/window_texts.h"
#include "experiment/experiment_run.h"
#include "experiment/scaled_board.h"

extern "C" {
// The page's own, from page_imports.js.
double page_seconds_since_midnight();
void page_play_cue(const char* fileName);
}

namespace buffon {
namespace {

class PageClock final : public Clock {
public:
    float secondsSinceMidnight() override
    {
        return static_cast<float>(page_seconds_since_midnight());
    }
};

class PageCuePlayer final : public CuePlayer {
public:
    void play(const std::string& fileName) override { page_play_cue(fileName.c_str()); }
};

class HeldText final : public Caption {
public:
    void setText(const std::string& text) override { text_ = text; }
    const char* text() const { return text_.c_str(); }

private:
    std::string text_;
};

struct Window {
    ScaledBoard board;
    UniformRandomSource random;
    PageClock clock;
    PageCuePlayer cue;
    HeldText estimate;
    HeldText count;
    std::string announcement;
    std::vector<std::uint32_t> canvasPixels;
};

Window& window()
{
    static Window window;
    return window;
}

}  // namespace
}  // namespace buffon

using namespace buffon;

extern "C" {

// Gives the board as many pixels as the screen gives its place at this ratio (the device pixel
// ratio times the page's scale), drawing its picture again in them.
EMSCRIPTEN_KEEPALIVE void page_fit_board(double screenRatio)
{
    const double ratio = boardRatio(screenRatio);
    const PixelSize size = boardPixels(ratio);
    window().board.resize(size.width, size.height, ratio);
}

// Board pixels to a pixel of the layout: the screen's ratio, up to the densest board made.
EMSCRIPTEN_KEEPALIVE double page_board_scale()
{
    return window().board.pixels().scale();
}

EMSCRIPTEN_KEEPALIVE int page_board_width()
{
    return window().board.pixels().width();
}

EMSCRIPTEN_KEEPALIVE int page_board_height()
{
    return window().board.pixels().height();
}

// The board's pixels as a canvas takes them, the bytes red, green, blue and alpha: the board's
// 0xffRRGGBB words with red and blue swapped, as WebAssembly stores words little-endian.
EMSCRIPTEN_KEEPALIVE const std::uint32_t* page_board_pixels()
{
    const PixelBoard& board = window().board.pixels();
    std::vector<std::uint32_t>& pixels = window().canvasPixels;
    pixels.assign(board.data(), board.data() + board.width() * board.height());
    for (std::uint32_t& word : pixels) {
        word = (word & 0xff00ff00u) | ((word >> 16) & 0xffu) | ((word & 0xffu) << 16);
    }
    return pixels.data();
}

EMSCRIPTEN_KEEPALIVE void page_run(int runSize, const char* decimalSeparator)
{
    Window& page = window();
    RunContext context{page.cue,      page.board, page.random,     page.clock,
                       page.estimate, page.count, decimalSeparator};
    runExperiment(kRunSizes.at(static_cast<std::size_t>(runSize)), context);
    page.announcement = runAnnouncement(page.count.text(), page.estimate.text());
}

EMSCRIPTEN_KEEPALIVE void page_reset_board()
{
    resetBoard(window().board, window().estimate, window().count);
}

EMSCRIPTEN_KEEPALIVE void page_rule_board()
{
    ruleBoard(window().board, PaletteIndex::Black);
}

EMSCRIPTEN_KEEPALIVE const char* page_estimate_text()
{
    return window().estimate.text();
}

EMSCRIPTEN_KEEPALIVE const char* page_count_text()
{
    return window().count.text();
}

EMSCRIPTEN_KEEPALIVE const char* page_announcement()
{
    return window().announcement.c_str();
}
}
