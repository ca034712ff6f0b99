// The run options that the command-line switches and installed-product detection fill in and
// that the rest of the installer reads.
#pragma once

#include <string>

struct InstallOptions {
  int productInstalled = 0;          // a copy is installed: this run updates it
  int silent = 0;                    // "/s": no windows
  int noValidation = 0;              // "/n": skip the version check at start-up
  int launchAfterInstall = 0;        // "/l": start the product when the installation has finished
  std::wstring languageArgument;     // "/lang" value: UI language id as decimal text
  std::wstring installerProperties;  // "/v" value: extra properties for the product package
};
