#include "app/Relaunch.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "config/UiText.h"

RelaunchOutcome RelaunchDownloadedInstaller(int validatorResult,
                                            const std::wstring& newInstallerPath) {
  if (validatorResult != 2 || newInstallerPath.empty()) return RelaunchOutcome::NotRequested;
  if (!::PathFileExistsW(newInstallerPath.c_str())) return RelaunchOutcome::FileMissing;
  const auto code = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, L"open", newInstallerPath.c_str(), L"/n", nullptr, SW_SHOWNORMAL));
  if (code > 32) return RelaunchOutcome::Started;
  const std::wstring text = UiText(IDS_ERR_CONNECT_DOWNLOAD_SERVER);
  ::MessageBoxW(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONERROR);
  return RelaunchOutcome::Failed;
}
