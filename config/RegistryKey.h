// A registry key opened for one operation of its caller: created when missing and opened for
// writing when possible, else opened read-only. A key that could be opened neither way makes
// every operation report failure. Windows only.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "config/Table.h"
#include "ui/framework/UniqueHandle.h"

class RegistryKey {
 public:
  // The platform's code for a key that cannot be written.
  static constexpr LONG kNotWritable = ERROR_CANTWRITE;  // 1013

  RegistryKey(HKEY root, std::wstring_view subkeyPath);

  // The value's data as text (up to the first NUL or the end of the data), whatever the
  // value's registry type; nothing when the value cannot be read.
  std::optional<std::wstring> QueryString(std::wstring_view valueName) const;

  // Stores the text as REG_SZ with its terminating NUL; 0 on success.
  LONG SetString(std::wstring_view valueName, std::wstring_view text);

  // Stores a REG_DWORD; 0 on success.
  LONG SetDword(std::wstring_view valueName, DWORD value);

  // Appends every subkey name in index order.
  void EnumerateSubkeys(Table& names) const;

  // For callers that read typed values directly; null when the key could not be opened.
  HKEY ReadHandle() const noexcept { return readKey_ ? readKey_.Get() : writeKey_.Get(); }
  bool IsWritable() const noexcept { return static_cast<bool>(writeKey_); }
  const std::wstring& Path() const noexcept { return path_; }

 private:
  std::wstring path_;
  fw::UniqueKey writeKey_;  // when set, it is also the read handle
  fw::UniqueKey readKey_;   // set only for a key opened read-only
};
