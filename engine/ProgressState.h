// The progress of the installation run, shared between the run's background task (which
// reports) and the status page (which takes a reading once a second). One lock covers every
// update and every reading, so a reading always holds phase, index and percent of one update.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

struct ProgressReading {
  int phase = 0;
  float percent = 0.0f;  // overall, 0..100
  // Milliseconds left; no value while the time is still being calculated.
  std::optional<std::uint32_t> remainingMs;
};

class ProgressState {
 public:
  // Sets phase, index and percent together. While cancelling, only Cancelled is taken.
  void Report(int phase, int index, int percent);
  void SetPhase(int phase) { Report(phase, -1, 0); }
  // Moves a run that has not ended to Cancelling, in one step with the test; answers whether it
  // did. A run that has reached a final phase keeps it.
  bool BeginCancelling();
  void SetWeights(std::vector<unsigned> downloadWeights, std::vector<unsigned> installWeights);

  int Phase() const;

  // Back to the state at program start (one process may run several engines in tests).
  void Reset();

  // The overall percentage and the remaining time at tick count now. The first reading starts
  // the clock, which then runs for the rest of the process.
  ProgressReading TakeReading(std::uint32_t now);

  struct Fields {
    std::vector<unsigned> downloadWeights, installWeights;
    int phase = 0, index = -1, percent = 0;
    std::uint32_t startTick = 0;
  };
  Fields Copy() const;

 private:
  mutable std::mutex lock_;
  Fields fields_;
};

// The process's one progress record.
ProgressState& SharedProgress();
