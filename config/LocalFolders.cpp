#include <windows.h>

#include <shlobj.h>
#include <shlwapi.h>

#include "config/InstallConfig.h"

namespace {

bool EnsureFolder(const std::wstring& folder) {
  if (::PathFileExistsW(folder.c_str())) return true;
  return ::SHCreateDirectory(nullptr, folder.c_str()) == ERROR_SUCCESS;
}

}  // namespace

bool InstallConfig::PrepareLocalFolders() {
  componentFolder = executableFolder + L"\\component\\";
  packageFolder = executableFolder + L"\\msi\\";
  transformFolder = executableFolder + L"\\transform\\";

  // A standalone package carries its files in these folders, so they are left as they are.
  if (!manifest.standalone) {
    // Only an empty folder goes; files left by an interrupted run stay beside new downloads.
    if (::PathFileExistsW(componentFolder.c_str())) ::RemoveDirectoryW(componentFolder.c_str());
    if (!EnsureFolder(componentFolder)) return false;
  }
  if (!EnsureFolder(packageFolder)) return false;
  return EnsureFolder(transformFolder);
}
