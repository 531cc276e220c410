#include "experiment/random_source.h"

#include <bit>

namespace buffon {

void UniformRandomSource::reseed(float seed)
{
    // PCG's own seeding: one step, add the seed, one more step.
    state_ = 0;
    nextBits();
    state_ += std::bit_cast<std::uint32_t>(seed);
    nextBits();
}

}  // namespace buffon
