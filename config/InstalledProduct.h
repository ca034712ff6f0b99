// What is known about an installed copy of the product: its version from Windows Installer and
// its main program from the product's registry key. Windows only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/InstalledProductInfo.h"

// The raw query: the platform's error code (0 on success) and the "VersionString" property.
std::uint32_t QueryInstalledVersion(std::wstring_view productCode, std::wstring& version);

// The product's installed version, or empty. Error 1605 (unknown product) is silent; any other
// error is shown once in a message box and counts as not installed.
InstalledProductInfo GetInstalledProductInfo(std::wstring_view productCode);

// The value "exe" of the local machine key named by the manifest's registry text, when it
// names an existing file; empty otherwise.
std::wstring GetInstalledExecutable();
std::wstring GetInstalledExecutable(std::wstring_view productRegistryKey);
