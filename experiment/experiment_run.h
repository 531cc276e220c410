// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>

#include "experiment/board.h"
#include "experiment/random_source.h"
#include "experiment/run_services.h"
#include "experiment/run_size.h"

namespace buffon {

struct RunContext {
    CuePlayer& cue;
    Board& board;
    UniformRandomSource& random;
    Clock& clock;
    Caption& estimateLabel;
    Caption& countLabel;
    // The platform's decimal separator, used in the estimate's text.
    std::string decimalSeparator = ".";
};

inline constexpr const char* kStartCue = "pinpon.wav";

// One click on a run button: start cue, clear, rule in light red, reseed from the clock,
// throw, count and draw every needle, take the deduction, then write the estimate and the
// hit count. A failure thrown by any service ends the run at that step.
void runExperiment(const RunSize& size, RunContext& context);

// Init: the board cleared, both results emptied, and the board ruled in black.
void resetBoard(Board& board, Caption& estimateLabel, Caption& countLabel);

}  // namespace buffon
