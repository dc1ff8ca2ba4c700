#pragma once
// The order of a round of a "Random" album: every entry once, drawn at random.
#include <random>
#include <vector>

namespace glimro {

// A random order of the positions 0 to count - 1 that does not start with avoid_first (the
// entry shown last), unless there is only one entry.
std::vector<int> DrawShuffleRound(int count, int avoid_first, std::mt19937& random);

// Whether a stored round still fits a list of count entries: distinct positions in range.
bool IsValidShuffleRound(const std::vector<int>& round, int count);

} // namespace glimro
