#include "engine/shuffle_random.h"

namespace glimro {

std::mt19937& ShuffleRandom() {
    static std::mt19937 random{std::random_device{}()};
    return random;
}

void SeedShuffleRandom(uint32_t seed) {
    ShuffleRandom().seed(seed);
}

} // namespace glimro
