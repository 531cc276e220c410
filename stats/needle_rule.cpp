// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/needle_rule.h"

#include <bit>
#include <charconv>

#include "experiment/needle_run.h"
#include "experiment/run_size.h"
#include "stats/batch_run.h"
#include "stats/exact_rate.h"

namespace buffon {
namespace {

std::string shortest(double value)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

}  // namespace

double NeedleRule::exactRate() const
{
    return kind == Kind::Window ? exactHitRate() : buffon::exactRate(geometry);
}

std::optional<double> NeedleRule::estimateFactor() const
{
    if (kind == Kind::Window) {
        return 1.0;
    }
    if (geometry.length <= geometry.spacing) {
        return 2 * geometry.length / geometry.spacing;
    }
    return std::nullopt;
}

int NeedleRule::deduction(int needles) const
{
    return kind == Kind::Window ? deductionFor(needles) : 0;
}

std::string NeedleRule::description() const
{
    if (kind == Kind::Window) {
        return "window";
    }
    return "geometric (length " + shortest(geometry.length) + ", spacing " +
           shortest(geometry.spacing) + ")";
}

std::uint32_t runSeedBits(std::uint32_t seed, std::int64_t run)
{
    return std::bit_cast<std::uint32_t>(runSeed(seed, run));
}

NeedleStream::NeedleStream(const NeedleRule& rule, std::uint32_t seedBits)
    : kind_(rule.kind), window_(std::bit_cast<float>(seedBits)), textbook_(seedBits, rule.geometry)
{
}

std::int64_t NeedleStream::countHits(std::int64_t needles)
{
    return kind_ == NeedleRule::Kind::Window ? throwNeedles(window_, needles)
                                             : textbook_.countHits(needles);
}

}  // namespace buffon
