#include <windows.h>

#include "app/RunOptions.h"
#include "config/DecimalText.h"
#include "config/InstallConfig.h"
#include "config/InstalledProduct.h"
#include "config/RegistryKey.h"

namespace {

constexpr std::uint32_t kEnglish = 1033;

std::wstring LanguagePacksKey(std::wstring_view productRegistryKey) {
  return std::wstring(productRegistryKey) + L"\\LanguagePacks";
}

}  // namespace

void InstallConfig::DetectInstalledProduct() {
  installedProduct = GetInstalledProductInfo(manifest.productCode);
  if (installedProduct.version.empty()) return;
  RunOptions().productInstalled = 1;

  const RegistryKey key(HKEY_LOCAL_MACHINE, LanguagePacksKey(manifest.registryKey));
  DWORD initialLanguage = kEnglish;
  DWORD type = 0;
  DWORD size = sizeof(initialLanguage);
  if (!key.ReadHandle() ||
      ::RegQueryValueExW(key.ReadHandle(), L"InitialLangID", nullptr, &type,
                         reinterpret_cast<BYTE*>(&initialLanguage), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(initialLanguage))
    initialLanguage = kEnglish;
  // The installed copy's language wins over the edition and "/lang", listed or not.
  if (initialLanguage != kEnglish) uiStrings.currentLanguage = initialLanguage;
}

std::vector<std::int32_t> InstallConfig::GetInstalledLanguagePacks() const {
  const RegistryKey key(HKEY_LOCAL_MACHINE, LanguagePacksKey(manifest.registryKey));
  Table names;
  key.EnumerateSubkeys(names);
  std::vector<std::int32_t> languages;
  for (int i = 0; i < names.Count(); ++i)
    if (!names[i].empty()) languages.push_back(ParseDecimalInt32(names[i]));
  return languages;
}
