#include "engine/ProgramRunner.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "ui/framework/UniqueHandle.h"

namespace {

bool HasMsiExtension(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  const size_t dot = path.rfind(L'.');
  if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return false;
  return ::CompareStringOrdinal(path.c_str() + dot, -1, L".msi", -1, TRUE) == CSTR_EQUAL;
}

int RunThroughMsiexec(const InstallItem& item) {
  const std::wstring parameters = L"/i \"" + item.localPath + L"\" " + item.commandLine;
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpFile = L"Msiexec.exe";
  info.lpParameters = parameters.c_str();
  info.nShow = SW_HIDE;
  if (!::ShellExecuteExW(&info) || !info.hProcess) return 0;
  fw::UniqueHandle process(info.hProcess);
  for (int step = 0; step < 30; ++step)
    if (::WaitForSingleObject(process.Get(), 1000) != WAIT_TIMEOUT) break;
  return 1;
}

int RunAsProcess(const InstallItem& item) {
  // Quoted: unquoted, a path with blanks ("C:\Users\Jo Ann\...") would make the system try
  // "C:\Users\Jo.exe" first, with administrator rights.
  std::wstring commandLine = L"\"" + item.localPath + L"\" " + item.commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
    return 0;
  fw::UniqueHandle process(info.hProcess);
  fw::UniqueHandle thread(info.hThread);
  // Waiting on the handle rather than polling for STILL_ACTIVE: a program whose exit code
  // happens to be 259 would otherwise be waited for forever.
  ::WaitForSingleObject(process.Get(), INFINITE);
  return 1;
}

}  // namespace

int RunProgram(const InstallItem& item) {
  return HasMsiExtension(item.localPath) ? RunThroughMsiexec(item) : RunAsProcess(item);
}
