// After a fresh installation: where the product's executable is and which language the user
// chose, for the product and for a later run of the installer. Failures are ignored.
#include <windows.h>

#include <string>

#include "app/RunOptions.h"
#include "config/InstallConfig.h"
#include "config/RegistryKey.h"
#include "engine/InstallEngine.h"

void ApplyPostInstallSettings() {
  if (RunOptions().productInstalled) return;
  InstallConfig& config = Configuration();
  if (!config.installFolder.empty() && config.installFolder.back() == L'\\')
    config.installFolder.pop_back();
  const std::wstring exePath = config.installFolder + L"\\" + config.manifest.executable;
  const size_t slash = exePath.rfind(L'\\');
  const bool hasFolder = slash != std::wstring::npos && slash > 0;
  const std::wstring folder = hasFolder ? exePath.substr(0, slash + 1) : std::wstring();
  const std::wstring& key = config.manifest.registryKey;

  if (hasFolder) {
    RegistryKey product(HKEY_LOCAL_MACHINE, key);
    product.SetString(L"InstallDir", folder);
    product.SetString(L"exe", exePath);
  }
  const auto language = config.uiStrings.currentLanguage;
  if (config.multiLanguage && language != 1033) {
    RegistryKey packs(HKEY_LOCAL_MACHINE, key + L"\\LanguagePacks");
    packs.SetDword(L"InitialLangID", language);
    RegistryKey user(HKEY_CURRENT_USER, key);
    user.SetDword(L"ApplicationLanguage", language);
    if (hasFolder) {
      RegistryKey beacon(HKEY_CURRENT_USER, L"SOFTWARE\\QOR Systems\\ResourceLangID\\");
      beacon.SetString(folder + L"qorBeacon2.exe", std::to_wstring(language));
    }
  }
}
