#include "engine/ProgressSnapshot.h"

#include <cwchar>

#include "config/TickCount.h"
#include "config/UiText.h"
#include "engine/InstallPhase.h"
#include "engine/ProgressEstimate.h"
#include "engine/ProgressState.h"

std::wstring PhaseStatusText(int phase) {
  switch (phase) {
    case Downloading:
      return UiText(IDS_STATUS_DOWNLOADING);
    case Installing:
      return UiText(IDS_STATUS_INSTALLING);
    case Cancelling:
      return UiText(IDS_STATUS_CANCELLING);
    case Finished:
      return UiText(IDS_STATUS_FINISHED);
    case Failed:
      return UiText(IDS_STATUS_INSTALL_FAILED);
    case Cancelled:
      return UiText(IDS_STATUS_CANCELLED);
    default:
      return UiText(IDS_STATUS_INIT);
  }
}

std::wstring PercentText(float percent) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%.1f%%", static_cast<double>(percent));
  return text;
}

int ProgressBarPosition(float percent) {
  return static_cast<int>(percent * 10.0f);
}

ProgressSnapshot TakeProgressSnapshot() {
  const ProgressReading reading = SharedProgress().TakeReading(CurrentTickCount());
  ProgressSnapshot snapshot;
  snapshot.phase = reading.phase;
  snapshot.percent = reading.percent;
  snapshot.statusText = PhaseStatusText(reading.phase);
  if (reading.remainingMs) {
    const std::wstring hours = UiText(IDS_TIME_REMAINING_HOURS);
    const std::wstring minutes = UiText(IDS_TIME_REMAINING_MINS);
    const std::wstring seconds = UiText(IDS_TIME_REMAINING_SECS);
    snapshot.timeText = FormatTimeRemaining(*reading.remainingMs, {hours, minutes, seconds});
  } else {
    snapshot.timeText = UiText(IDS_CALC_TIME_REMAINING);
  }
  return snapshot;
}
