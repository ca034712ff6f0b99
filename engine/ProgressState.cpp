#include "engine/ProgressState.h"

#include "engine/InstallPhase.h"
#include "engine/ProgressEstimate.h"

void ProgressState::Report(int phase, int index, int percent) {
  std::lock_guard guard(lock_);
  if (fields_.phase == Cancelling && phase != Cancelled) return;
  fields_.phase = phase;
  fields_.index = index;
  fields_.percent = percent;
}

bool ProgressState::BeginCancelling() {
  std::lock_guard guard(lock_);
  if (fields_.phase == Cancelling || IsFinalPhase(fields_.phase)) return false;
  fields_.phase = Cancelling;
  fields_.index = -1;
  fields_.percent = 0;
  return true;
}

void ProgressState::SetWeights(std::vector<unsigned> downloadWeights,
                               std::vector<unsigned> installWeights) {
  std::lock_guard guard(lock_);
  fields_.downloadWeights = std::move(downloadWeights);
  fields_.installWeights = std::move(installWeights);
}

void ProgressState::Reset() {
  std::lock_guard guard(lock_);
  fields_ = Fields{};
}

int ProgressState::Phase() const {
  std::lock_guard guard(lock_);
  return fields_.phase;
}

ProgressState::Fields ProgressState::Copy() const {
  std::lock_guard guard(lock_);
  return fields_;
}

ProgressReading ProgressState::TakeReading(std::uint32_t now) {
  std::lock_guard guard(lock_);
  ProgressReading reading;
  reading.phase = fields_.phase;
  reading.percent = OverallPercent(fields_.phase, fields_.downloadWeights, fields_.installWeights,
                                   fields_.index, fields_.percent);
  const float pass = PassPercent(fields_.phase, !fields_.downloadWeights.empty(), reading.percent);
  if (fields_.startTick == 0) {
    fields_.startTick = now;
    if (pass > 0.0f) reading.remainingMs = 1000;
  } else if (pass > 0.0f) {
    reading.remainingMs = RemainingMilliseconds(fields_.startTick, now, pass);
  }
  return reading;
}

ProgressState& SharedProgress() {
  static ProgressState state;
  return state;
}
