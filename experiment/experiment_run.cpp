// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "experiment/experiment_run.h"

#include "experiment/stepped_run.h"

namespace buffon {

void runExperiment(const RunSize& size, RunContext& context)
{
    WindowNeedles needles(context.random);
    SteppedRun run(context);
    run.start(size, needles);
    run.fall(size.needles);
    run.finish();
}

void resetBoard(Board& board, Caption& estimateLabel, Caption& countLabel)
{
    board.clear();
    estimateLabel.setText({});
    countLabel.setText({});
    ruleBoard(board, PaletteIndex::Black);
}

}  // namespace buffon
