#include "random_source.h"

#include <bit>

namespace buffon {

void UniformRandomSource::Reseed(float seed)
{
    // The seeding of the reference implementation: one step, add the seed, one more step.
    state_ = 0;
    NextBits();
    state_ += std::bit_cast<std::uint32_t>(seed);
    NextBits();
}

}  // namespace buffon
