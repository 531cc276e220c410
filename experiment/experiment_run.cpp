// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "experiment/experiment_run.h"

#include "experiment/needle_run.h"
#include "experiment/number_text.h"
#include "experiment/run_size.h"

namespace buffon {

void runExperiment(const RunSize& size, RunContext& context)
{
    context.cue.play(kStartCue);
    context.board.clear();
    ruleBoard(context.board, PaletteIndex::LightRed);
    context.random.reseed(context.clock.secondsSinceMidnight());
    const std::int64_t hits = throwNeedles(context.random, size.needles, [&](const Needle& needle) {
        drawNeedle(context.board, needle);
    });
    const RunResult result = runResult(size.needles, size.deduction, hits);
    context.estimateLabel.setText(
        result.estimate ? numberText(*result.estimate, context.decimalSeparator) : std::string());
    context.countLabel.setText(numberText(result.count));
}

void resetBoard(Board& board, Caption& estimateLabel, Caption& countLabel)
{
    board.clear();
    estimateLabel.setText({});
    countLabel.setText({});
    ruleBoard(board, PaletteIndex::Black);
}

}  // namespace buffon
