// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

#include "experiment/needle_source.h"
#include "stats/rules/geometric/geometric_needles.h"

namespace buffon {

// The textbook's needles on the window's board: the companion's geometric stream for needles
// 40 long on lines 80 apart, reseeded from a run's reseed value as the companion reseeds a
// run, so a run counts exactly what `--rule geometric --reseed VALUE` counts.
//
// The stream gives each needle's distance from the nearest line and its acute angle. The board
// places the needle's centre where the window places a needle's start, uniform over [40, 440)
// both ways: the line (one of five), the side of it, the way the needle leans and the centre's
// x come from the bits of the needle's two outputs that its draws leave unused. Every needle
// is drawn 40 long, and meets the line it is drawn across exactly when the stream counts a hit.
class TextbookBoardNeedles final : public NeedleSource {
public:
    static constexpr double kLength = 40;
    static constexpr double kSpacing = 80;

    void reseed(float value) override;
    BoardNeedle next() override;
    int deduction(const RunSize&) const override { return 0; }

    // Where a needle of the stream lies on the board, from its spare bits.
    static BoardNeedle placed(const Throw& needle, std::uint32_t spareBits);

private:
    GeometricNeedles needles_{0, kLength, kSpacing};
};

}  // namespace buffon
