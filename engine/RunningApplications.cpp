#include "engine/RunningApplications.h"

#include "engine/MessageBoxSeam.h"
#include "config/UiText.h"
#include "ui/framework/UniqueHandle.h"

const std::vector<WatchedApplication>& WatchedApplications() {
  static const std::vector<WatchedApplication> table{
      {L"PictovaKestRunning", L"Pictova Kest"},
      {L"PictovaKestBeaconRunning", L"Pictova Kest Beacon"},
  };
  return table;
}

std::vector<std::wstring> FindRunningApplications(const std::vector<WatchedApplication>& table) {
  std::vector<std::wstring> names;
  for (const auto& app : table) {
    const std::wstring name(app.semaphoreName);
    fw::UniqueHandle semaphore(::OpenSemaphoreW(SYNCHRONIZE, FALSE, name.c_str()));
    if (semaphore) names.emplace_back(app.displayName);
  }
  return names;
}

int CheckRunningApplications(const std::wstring& caption, HWND owner,
                             const std::vector<WatchedApplication>& table) {
  for (;;) {
    const auto running = FindRunningApplications(table);
    if (running.empty()) return 1;
    std::wstring names;
    for (const auto& name : running) names += name + L"\r\n";
    const std::wstring text = UiText(IDS_CLOSE_RUNNING_APPS) + L"\n\n" + names;
    if (ShowEngineMessageBox(owner, text, caption, MB_RETRYCANCEL | MB_ICONWARNING) != IDRETRY)
      return 0;
  }
}
