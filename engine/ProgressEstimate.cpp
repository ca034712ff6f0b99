#include "engine/ProgressEstimate.h"

#include "engine/InstallPhase.h"
#include "engine/NumberTemplate.h"

float WeightedPercent(const std::vector<unsigned>& weights, int index, float x) {
  if (index < 0) index = 0;
  if (static_cast<size_t>(index) >= weights.size()) return 100.0f;
  float sum = 0.0f;
  for (int i = 0; i < index; ++i) sum += static_cast<float>(weights[static_cast<size_t>(i)]);
  sum += static_cast<float>(weights[static_cast<size_t>(index)]) * x / 100.0f;
  return sum > 100.0f ? 100.0f : sum;
}

float OverallPercent(int phase, const std::vector<unsigned>& downloadWeights,
                     const std::vector<unsigned>& installWeights, int index, int percent) {
  const auto x = static_cast<float>(percent);
  switch (phase) {
    case Downloading:
      return downloadWeights.empty() ? 0.0f : WeightedPercent(downloadWeights, index, x) * 0.5f;
    case Installing: {
      if (installWeights.empty()) return 0.0f;
      const float v = WeightedPercent(installWeights, index, x);
      return downloadWeights.empty() ? v : v * 0.5f + 50.0f;
    }
    case Finished:
      return 100.0f;
    default:
      return 0.0f;
  }
}

float PassPercent(int phase, bool hasDownloads, float overall) {
  if (phase == Downloading) return 2.0f * overall;
  if (phase == Installing && hasDownloads) return 2.0f * (overall - 50.0f);
  return overall;
}

std::uint32_t RemainingMilliseconds(std::uint32_t startTick, std::uint32_t now, float passPercent) {
  const std::uint32_t elapsed = now - startTick;
  const float estimatedTotal = static_cast<float>(elapsed) / (passPercent / 100.0f);
  const auto total = static_cast<std::uint32_t>(static_cast<std::uint64_t>(estimatedTotal));
  const std::uint32_t remaining = startTick + total - now;
  return remaining != 0 ? remaining : 1000;
}

std::wstring FormatTimeRemaining(std::uint32_t milliseconds, const TimeTemplates& templates) {
  const std::uint32_t hours = milliseconds / 3600000;
  const std::uint32_t s = (milliseconds / 1000) % 3600;
  if (hours > 0) return FormatNumbers(templates.hours, {hours, s / 60, s % 60});
  if (s / 60 > 0) return FormatNumbers(templates.minutes, {s / 60, s % 60});
  return FormatNumbers(templates.seconds, {s % 60});
}
