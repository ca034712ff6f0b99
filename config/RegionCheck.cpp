#include <windows.h>

#include "config/DecimalText.h"
#include "config/Region.h"
#include "config/RegistryKey.h"

bool IsRegionWithConsentDefault() {
  const RegistryKey key(HKEY_CURRENT_USER, L"Control Panel\\International\\Geo");
  const std::wstring nation = key.QueryString(L"Nation").value_or(std::wstring());
  return IsConsentRegion(ParseDecimalInt32(nation));
}
