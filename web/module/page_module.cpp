// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The experiment as the page calls it, through a small C interface: the window's board, random
// source and result texts live here between events, and the page hands in the clock and plays
// the cues.

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "design/board_pixels.h"
#include "design/window_texts.h"
#include "experiment/experiment_run.h"
#include "experiment/lesson_modes.h"
#include "experiment/scaled_board.h"
#include "experiment/stepped_run.h"
#include "stats/rules/needle_sources.h"

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
    RunContext context{cue, board, random, clock, estimate, count};
    SteppedRun run{context};
    std::unique_ptr<NeedleSource> needles;
    // The modes as chosen, by the address and then the menu, in order: the parser reads them
    // all, the later choice of a mode winning.
    std::vector<ModeChoice> choices;
    std::string announcement;
    std::string modeLine;
    std::string refusal;
    std::vector<std::uint32_t> canvasPixels;
};

Window& window()
{
    static Window window;
    return window;
}

LessonModes modesWith(std::vector<ModeChoice> choices)
{
    return parseModes(choices, ModeNames::Parameter).modes;
}

// The modes as chosen, and as they would be with one more choice.
struct ModesAndChoice {
    LessonModes now;
    LessonModes with;
};
ModesAndChoice modesAndChoice(const char* name, const char* value)
{
    std::vector<ModeChoice> choices = window().choices;
    const LessonModes now = modesWith(choices);
    choices.push_back({name, value});
    return {now, modesWith(choices)};
}

// A value given for the next run only is spent by it; the showing it turned on stays.
void spendReseed(std::vector<ModeChoice>& choices)
{
    for (ModeChoice& choice : choices) {
        if (choice.name == "reseed") {
            choice = {"showreseed", "1"};
        }
    }
}

void announceEnd(Window& page)
{
    const LessonModes modes = modesWith(page.choices);
    const auto reseed = page.run.reseedValue();
    page.announcement =
        runAnnouncement(page.count.text(), page.estimate.text(), modes.textbook,
                        modes.showReseed && reseed ? reseedText(*reseed) : std::string());
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

// Takes a parameter of the address or a choice of the menu. A name that is no mode's is left
// alone; a mode's value the parser refuses is left out, and the line saying why is returned.
EMSCRIPTEN_KEEPALIVE const char* page_choose(const char* name, const char* value)
{
    Window& page = window();
    const auto modes = modeOptions();
    page.refusal.clear();
    if (std::none_of(modes.begin(), modes.end(), [&](const ModeOption& mode) {
            return mode.parameter && std::string_view(mode.parameter) == name;
        })) {
        return page.refusal.c_str();
    }
    page.choices.push_back({name, value});
    const ParsedModes parsed = parseModes(page.choices, ModeNames::Parameter);
    if (!parsed.error.empty()) {
        page.choices.pop_back();
        page.refusal = "Left out: " + parsed.error + ".";
    }
    return page.refusal.c_str();
}

// Whether a choice would change nothing: a switch that is on, the pace in use.
EMSCRIPTEN_KEEPALIVE bool page_chosen(const char* name, const char* value)
{
    const auto [now, with] = modesAndChoice(name, value);
    return with == now;
}

// Whether a choice ends a run falling at a pace before it is taken.
EMSCRIPTEN_KEEPALIVE bool page_ends_run(const char* name, const char* value)
{
    const auto [now, with] = modesAndChoice(name, value);
    return endsFallingRun(now, with);
}

EMSCRIPTEN_KEEPALIVE int page_pace()
{
    return modesWith(window().choices).pace;
}

EMSCRIPTEN_KEEPALIVE bool page_textbook()
{
    return modesWith(window().choices).textbook;
}

EMSCRIPTEN_KEEPALIVE const char* page_mode_line()
{
    Window& page = window();
    page.modeLine = modeLine(modesWith(page.choices), page.run.reseedValue());
    return page.modeLine.c_str();
}

// Begins a run in the modes chosen, its needles to fall by page_fall; how many it throws.
EMSCRIPTEN_KEEPALIVE int page_begin(int runSize, const char* decimalSeparator)
{
    Window& page = window();
    const LessonModes modes = modesWith(page.choices);
    const RunSize& size = kRunSizes.at(static_cast<std::size_t>(runSize));
    page.context.decimalSeparator = decimalSeparator;
    page.needles = boardNeedleSource(modes, page.random);
    page.run.start(size, *page.needles,
                   {modes.reseed, modes.addUp, modes.thickNeedles ? kThickNeedleWidth : 1});
    spendReseed(page.choices);
    return static_cast<int>(size.needles);
}

EMSCRIPTEN_KEEPALIVE void page_fall(int needles)
{
    window().run.fall(needles);
}

EMSCRIPTEN_KEEPALIVE void page_finish()
{
    window().run.finish();
    announceEnd(window());
}

// The run ends where it is, what fell counted.
EMSCRIPTEN_KEEPALIVE void page_stop()
{
    window().run.stop();
    announceEnd(window());
}

// A click's run, thrown whole.
EMSCRIPTEN_KEEPALIVE void page_run(int runSize, const char* decimalSeparator)
{
    page_fall(page_begin(runSize, decimalSeparator));
    page_finish();
}

EMSCRIPTEN_KEEPALIVE void page_reset_board()
{
    window().run.stop();
    window().run.resetTotals();
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
