// The property text handed to Windows Installer with the product package.
#pragma once

#include <string>
#include <string_view>

struct PackagePropertyInputs {
  bool productInstalled = false;     // an update: reinstall everything, no folder
  std::wstring installFolder;        // the chosen installation folder
  bool installFolderExists = false;  // INSTALLDIR is passed only for an existing folder
  std::wstring installerProperties;  // the "/v" text, appended last and unchanged
  bool multiLanguage = false;
  unsigned languageId = 1033;    // the current UI language
  std::wstring transformFolder;  // with trailing backslash
  int associationChoice = 0;     // 0 All, 1 Free, 2 None
};

// "All", "Free" or "None" for the file-association choice 0, 1 or 2; empty for anything else.
std::wstring_view ShellIntegrationLevel(int associationChoice) noexcept;

// Each part after the first is joined by one space, also when the text before it is empty.
std::wstring BuildPackageProperties(const PackagePropertyInputs& in);
