// What the status page shows once a second: the phase, the overall percentage, the status line
// and the time-remaining line, in the current UI language.
#pragma once

#include <string>

struct ProgressSnapshot {
  int phase = 0;
  float percent = 0.0f;
  std::wstring statusText;
  std::wstring timeText;
};

ProgressSnapshot TakeProgressSnapshot();

// The UI string of a phase (1 and unknown values read as "Initializing").
std::wstring PhaseStatusText(int phase);

// "37.5%": one decimal place.
std::wstring PercentText(float percent);

// Position on a bar of range 0..1000.
int ProgressBarPosition(float percent);
