// One entry of the installation plan.
#pragma once

#include <string>

enum InstallItemKind : int {
  Package = 0,    // installed through the Windows Installer API
  Program = 1,    // run by the program runner (a package through msiexec, else a process)
  Transform = 2,  // downloaded only: it reaches Windows Installer with the product package
};

struct InstallItem {
  std::wstring name;         // file name as the manifest gives it
  std::wstring url;          // where it is downloaded from
  std::wstring localPath;    // where it is stored and installed from
  std::wstring commandLine;  // arguments for the program runner
  int needsDownload = 1;
  int kind = Package;
};
