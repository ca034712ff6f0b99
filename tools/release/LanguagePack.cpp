// The sample release's language pack: a program run with "/s" that records its language under
// the product's registry key, as a real language pack installer does. The language is the last
// number in its own file name ("language_pack_1031.exe").
#include <windows.h>

#include <cwctype>
#include <string>

int wmain() {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  std::wstring name(path);
  name = name.substr(name.find_last_of(L"\\/") + 1);
  std::wstring digits, last;
  for (wchar_t c : name) {
    if (std::iswdigit(c)) {
      digits.push_back(c);
    } else if (!digits.empty()) {
      last = digits;
      digits.clear();
    }
  }
  if (!digits.empty()) last = digits;
  if (last.empty()) return 2;
  const std::wstring key = L"SOFTWARE\\QOR Systems\\Pictova Kest\\280\\LanguagePacks\\" + last;
  HKEY created = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &created, nullptr) != ERROR_SUCCESS)
    return 3;
  ::RegCloseKey(created);
  return 0;
}
