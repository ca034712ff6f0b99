#include "app/Relaunch.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

namespace {
const wchar_t kConnectError[] =
    L"Unable to contact the download server. Check your Internet connection and try again. If "
    L"the issue persists, please contact Customer Care.";
}

RelaunchOutcome RelaunchDownloadedInstaller(int validatorResult,
                                            const std::wstring& newInstallerPath) {
  if (validatorResult != 2 || newInstallerPath.empty()) return RelaunchOutcome::NotRequested;
  if (!::PathFileExistsW(newInstallerPath.c_str())) return RelaunchOutcome::FileMissing;
  const auto code = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, L"open", newInstallerPath.c_str(), L"/n", nullptr, SW_SHOWNORMAL));
  if (code > 32) return RelaunchOutcome::Started;
  ::MessageBoxW(nullptr, kConnectError, nullptr, MB_OK | MB_ICONERROR);
  return RelaunchOutcome::Failed;
}
