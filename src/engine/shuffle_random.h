#pragma once
// The generator shuffle rounds are drawn with: one for the process, seeded from the system's
// entropy, unless a test seeds it to draw the same rounds every run.
#include <cstdint>
#include <random>

namespace glimro {

std::mt19937& ShuffleRandom();
void SeedShuffleRandom(uint32_t seed);

} // namespace glimro
