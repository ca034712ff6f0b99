// Item weights of the installation plan, scaled so that each list totals exactly 100.
#pragma once

#include <vector>

namespace plan_weights {
inline constexpr unsigned kDependency = 40;
inline constexpr unsigned kMainPackage = 50;
inline constexpr unsigned kTransform = 5;
inline constexpr unsigned kLanguagePack = 5;
}  // namespace plan_weights

// Every entry but the last becomes entry * 100 / sum (integer division, in order); the last takes
// what is left of 100. An empty list, or one whose sum is 0, stays as it is.
std::vector<unsigned> NormaliseWeights(const std::vector<unsigned>& weights);
