#include "engine/PlanWeights.h"

#include <cstddef>
#include <cstdint>

std::vector<unsigned> NormaliseWeights(const std::vector<unsigned>& weights) {
  std::uint64_t sum = 0;
  for (unsigned w : weights) sum += w;
  if (weights.empty() || sum == 0) return weights;
  std::vector<unsigned> result;
  result.reserve(weights.size());
  unsigned given = 0;
  for (std::size_t i = 0; i + 1 < weights.size(); ++i) {
    const auto share = static_cast<unsigned>(std::uint64_t{weights[i]} * 100 / sum);
    result.push_back(share);
    given += share;
  }
  result.push_back(100 - given);
  return result;
}
