#include "config/InstalledProduct.h"

#include <windows.h>

#include <msi.h>
#include <shlwapi.h>

#include <cwchar>

#include "config/InstallConfig.h"
#include "config/RegistryKey.h"

std::uint32_t QueryInstalledVersion(std::wstring_view productCode, std::wstring& version) {
  const std::wstring code(productCode);
  wchar_t buffer[MAX_PATH] = {};
  DWORD chars = MAX_PATH;
  const UINT error =
      ::MsiGetProductInfoW(code.c_str(), INSTALLPROPERTY_VERSIONSTRING, buffer, &chars);
  version = error == ERROR_SUCCESS ? std::wstring(buffer) : std::wstring();
  return error;
}

InstalledProductInfo GetInstalledProductInfo(std::wstring_view productCode) {
  InstalledProductInfo info;
  const std::uint32_t error = QueryInstalledVersion(productCode, info.version);
  if (error != ERROR_SUCCESS && error != ERROR_UNKNOWN_PRODUCT) {
    wchar_t text[128];
    std::swprintf(text, 128, L"Failed to get installed product info, error code: %d",
                  static_cast<int>(error));
    const std::wstring& caption = Configuration().manifest.shortName;
    ::MessageBoxW(nullptr, text, caption.empty() ? nullptr : caption.c_str(), MB_OK);
  }
  return info;
}

std::wstring GetInstalledExecutable() {
  return GetInstalledExecutable(Configuration().manifest.registryKey);
}

std::wstring GetInstalledExecutable(std::wstring_view productRegistryKey) {
  const RegistryKey key(HKEY_LOCAL_MACHINE, productRegistryKey);
  const std::wstring path = key.QueryString(L"exe").value_or(std::wstring());
  if (path.empty() || !::PathFileExistsW(path.c_str())) return {};
  return path;
}
