// The phases of an installation run. 1 is never set; 5, 6 and 7 are final.
#pragma once

enum InstallPhase : int {
  Initializing = 0,
  Downloading = 2,
  Installing = 3,
  Cancelling = 4,
  Finished = 5,
  Failed = 6,
  Cancelled = 7,
};

constexpr bool IsFinalPhase(int phase) noexcept {
  return phase == Finished || phase == Failed || phase == Cancelled;
}
