// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include "experiment/board.h"
#include "experiment/needle.h"
#include "experiment/random_source.h"
#include "experiment/run_size.h"

namespace buffon {

// A needle as the board draws it, in drawing units, and whether it counts as a hit.
struct BoardNeedle {
    float x1 = 0;
    float y1 = 0;
    float x2 = 0;
    float y2 = 0;
    Outcome outcome = Outcome::Miss;
};

// Where a run's needles come from: reseeded from a single-precision value at the start of each
// run, then one needle at a time.
class NeedleSource {
public:
    virtual ~NeedleSource() = default;
    virtual void reseed(float value) = 0;
    virtual BoardNeedle next() = 0;
    // What is taken off a run's hits before its estimate.
    virtual int deduction(const RunSize& size) const = 0;
};

// The window's own needles, drawn between the whole drawing units of their two ends.
class WindowNeedles final : public NeedleSource {
public:
    explicit WindowNeedles(UniformRandomSource& random) : random_(random) {}

    void reseed(float value) override { random_.reseed(value); }
    BoardNeedle next() override
    {
        const Needle needle = throwNeedle(random_);
        return {needle.startPixelX, needle.startPixelY, static_cast<float>(needle.endPixelX),
                static_cast<float>(needle.endPixelY), needle.outcome};
    }
    int deduction(const RunSize& size) const override { return size.deduction; }

private:
    UniformRandomSource& random_;
};

// Blue for a hit, green for a miss, `width` device pixels wide.
void drawBoardNeedle(Board& board, const BoardNeedle& needle, int width = 1);

}  // namespace buffon
