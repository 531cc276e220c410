// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "experiment/stepped_run.h"

#include <algorithm>

#include "experiment/number_text.h"

namespace buffon {

void SteppedRun::start(const RunSize& size, NeedleSource& source, const RunOptions& options)
{
    stop();
    context_.cue.play(kStartCue);
    // Needles of another kind are counted by another rule: their sum would mean nothing.
    if (!options.addUp || totalledSource_ != &typeid(source)) {
        totals_ = {};
        context_.board.clear();
    }
    totalledSource_ = &typeid(source);
    ruleBoard(context_.board, PaletteIndex::LightRed);
    reseed_ = options.reseed ? *options.reseed : context_.clock.secondsSinceMidnight();
    source.reseed(*reseed_);
    source_ = &source;
    size_ = size;
    needleWidth_ = options.needleWidth;
    fallen_ = 0;
    hits_ = 0;
}

void SteppedRun::fall(std::int64_t needles)
{
    if (!running()) {
        return;
    }
    const std::int64_t count = std::clamp<std::int64_t>(needles, 0, left());
    for (std::int64_t i = 0; i < count; ++i) {
        const BoardNeedle needle = source_->next();
        hits_ += needle.outcome == Outcome::Hit;
        drawBoardNeedle(context_.board, needle, needleWidth_);
    }
    fallen_ += count;
    show({totals_.needles + fallen_, totals_.count + hits_});
}

void SteppedRun::finish()
{
    if (running()) {
        end(hits_ - source_->deduction(size_));
    }
}

void SteppedRun::stop()
{
    if (running()) {
        end(hits_);
    }
}

void SteppedRun::end(std::int64_t count)
{
    source_ = nullptr;
    totals_ = {totals_.needles + fallen_, totals_.count + count};
    show(totals_);
}

void SteppedRun::show(RunTotals shown)
{
    const RunResult result = runResult(shown.needles, 0, shown.count);
    context_.estimateLabel.setText(
        result.estimate ? numberText(*result.estimate, context_.decimalSeparator) : std::string());
    context_.countLabel.setText(numberText(result.count));
}

void drawBoardNeedle(Board& board, const BoardNeedle& needle, int width)
{
    const PaletteIndex colour =
        needle.outcome == Outcome::Hit ? PaletteIndex::LightBlue : PaletteIndex::LightGreen;
    if (width == 1) {
        board.drawSegment(needle.x1, needle.y1, needle.x2, needle.y2, colour);
    } else {
        board.drawWideSegment(needle.x1, needle.y1, needle.x2, needle.y2, colour, width);
    }
}

}  // namespace buffon
