#include "core/shuffle.h"

#include <algorithm>
#include <numeric>

namespace glimro {

std::vector<int> DrawShuffleRound(int count, int avoid_first, std::mt19937& random) {
    std::vector<int> round(static_cast<size_t>(count > 0 ? count : 0));
    std::iota(round.begin(), round.end(), 0);
    std::shuffle(round.begin(), round.end(), random);
    // The last entry of one round is never the first of the next: swap it further in.
    if (round.size() > 1 && round.front() == avoid_first) {
        std::uniform_int_distribution<size_t> other(1, round.size() - 1);
        std::swap(round.front(), round[other(random)]);
    }
    return round;
}

bool IsValidShuffleRound(const std::vector<int>& round, int count) {
    std::vector<bool> seen(static_cast<size_t>(count > 0 ? count : 0), false);
    for (int position : round) {
        if (position < 0 || position >= count || seen[static_cast<size_t>(position)])
            return false;
        seen[static_cast<size_t>(position)] = true;
    }
    return true;
}

} // namespace glimro
