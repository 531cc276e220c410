#include "random_source.h"

#include <bit>

namespace buffon {

void UniformRandomSource::Reseed(float seed)
{
    // Every distinct seed, down to its last bit, starts its own sequence.
    engine_.seed(std::bit_cast<std::uint32_t>(seed));
}

}  // namespace buffon
