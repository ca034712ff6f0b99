// Turns the engine's per-item progress into one overall percentage and a time-remaining text.
// Downloads fill the first half of the bar and installation the second; a run without downloads
// uses the whole bar for installation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The share of a weight list (totalling 100) that is done when the items before index are
// complete and item index is x percent done; 100 when index is past the end.
float WeightedPercent(const std::vector<unsigned>& weights, int index, float x);

// Overall percentage, 0..100, for a phase reported with item index and item percent.
float OverallPercent(int phase, const std::vector<unsigned>& downloadWeights,
                     const std::vector<unsigned>& installWeights, int index, int percent);

// The progress of the current pass alone, from the overall percentage.
float PassPercent(int phase, bool hasDownloads, float overall);

// The remaining time once the clock runs: elapsed time divided by the pass progress b (> 0),
// in unsigned 32-bit tick arithmetic. A result of 0 becomes 1000 so that the text never reads
// "00 secs" while something is still running.
std::uint32_t RemainingMilliseconds(std::uint32_t startTick, std::uint32_t now, float passPercent);

// The three translated templates of the time text.
struct TimeTemplates {
  std::wstring_view hours;    // "%02d hours %02d mins %02d secs remaining..."
  std::wstring_view minutes;  // "%02d mins %02d secs remaining..."
  std::wstring_view seconds;  // "%02d secs remaining..."
};

std::wstring FormatTimeRemaining(std::uint32_t milliseconds, const TimeTemplates& templates);
