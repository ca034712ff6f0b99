#include "config/RegistryKey.h"

#include <vector>

RegistryKey::RegistryKey(HKEY root, std::wstring_view subkeyPath) : path_(subkeyPath) {
  const LONG created = ::RegCreateKeyExW(root, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY, nullptr,
                                         writeKey_.Put(), nullptr);
  if (created == ERROR_SUCCESS) return;
  writeKey_.Reset();
  if (::RegOpenKeyExW(root, path_.c_str(), 0, KEY_READ, readKey_.Put()) != ERROR_SUCCESS)
    readKey_.Reset();
}

std::optional<std::wstring> RegistryKey::QueryString(std::wstring_view valueName) const {
  const HKEY key = ReadHandle();
  if (!key) return std::nullopt;
  const std::wstring name(valueName);
  DWORD size = 0;
  if (::RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  // Whole UTF-16 units only; a value with an odd byte count loses its last byte.
  std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
  DWORD read = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  if (::RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                         &read) != ERROR_SUCCESS)
    return std::nullopt;
  const size_t units = read / sizeof(wchar_t);
  size_t length = 0;
  while (length < units && data[length] != L'\0') ++length;
  return std::wstring(data.data(), length);
}

LONG RegistryKey::SetString(std::wstring_view valueName, std::wstring_view text) {
  if (!writeKey_) return kNotWritable;
  const std::wstring name(valueName);
  const std::wstring data(text);
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(writeKey_.Get(), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()), bytes);
}

LONG RegistryKey::SetDword(std::wstring_view valueName, DWORD value) {
  if (!writeKey_) return kNotWritable;
  const std::wstring name(valueName);
  return ::RegSetValueExW(writeKey_.Get(), name.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

void RegistryKey::EnumerateSubkeys(Table& names) const {
  const HKEY key = ReadHandle();
  if (!key) return;
  wchar_t name[512];
  for (DWORD index = 0; ::RegEnumKeyW(key, index, name, 512) == ERROR_SUCCESS; ++index)
    names.Append(name);
}
