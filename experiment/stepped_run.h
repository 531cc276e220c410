// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <optional>
#include <typeinfo>

#include "experiment/experiment_run.h"
#include "experiment/needle_source.h"

namespace buffon {

// Needles and count (after each run's deduction) of the runs shown together.
struct RunTotals {
    std::int64_t needles = 0;
    std::int64_t count = 0;

    friend constexpr bool operator==(const RunTotals&, const RunTotals&) = default;
};

struct RunOptions {
    std::optional<float> reseed;  // the clock's time of day where none is given
    bool addUp = false;   // keep the board and the totals of the runs before of the same needles
    int needleWidth = 1;  // in device pixels
};

// A run that can be thrown a few needles at a time, for needles that fall at a pace. Thrown in
// one step and finished, it is exactly the run of a click: the same needles, board and texts.
class SteppedRun {
public:
    explicit SteppedRun(RunContext& context) : context_(context) {}

    // The start cue, the board cleared (unless adding up) and ruled in light red, the source
    // reseeded. A run still going on is stopped first.
    void start(const RunSize& size, NeedleSource& source, const RunOptions& options = {});
    // Throws and draws the next needles of the run, at most as many as are left; the labels then
    // show the count and the estimate so far, with no deduction yet.
    void fall(std::int64_t needles);
    // Once every needle fell: the deduction taken, the final count and estimate shown.
    void finish();
    // Ends the run where it is: what fell stays counted and shown, with no deduction, since the
    // run did not reach its size.
    void stop();
    // Init: the runs before are forgotten, and the value the last one reseeded from.
    void resetTotals()
    {
        totals_ = {};
        reseed_.reset();
    }

    bool running() const { return source_ != nullptr; }
    std::int64_t fallen() const { return fallen_; }
    std::int64_t left() const { return size_.needles - fallen_; }
    std::int64_t hits() const { return hits_; }
    // The value the last run reseeded from.
    std::optional<float> reseedValue() const { return reseed_; }
    // The runs ended so far, shown together.
    const RunTotals& totals() const { return totals_; }

private:
    void show(RunTotals shown);
    void end(std::int64_t count);

    RunContext& context_;
    NeedleSource* source_ = nullptr;
    RunSize size_{0, 0};
    int needleWidth_ = 1;
    std::int64_t fallen_ = 0;
    std::int64_t hits_ = 0;
    std::optional<float> reseed_;
    RunTotals totals_;
    const std::type_info* totalledSource_ = nullptr;
};

}  // namespace buffon
