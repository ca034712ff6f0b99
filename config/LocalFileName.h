// Local names of downloaded files. Manifest names are joined to the download folders and the
// result is written and run with administrator rights, so a name must stay a plain file name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// False for an empty name, one that is only dots and blanks ("." and ".." among them), or one
// holding a path separator, a drive or stream colon, a wildcard or a control character, and
// for device names such as "NUL" or "COM1.exe".
bool IsPlainFileName(std::wstring_view name);

// folder + name for a standalone package, else folder + tick (signed decimal) + name.
std::wstring ComponentFileName(std::wstring_view folder, std::wstring_view name, bool standalone,
                               std::uint32_t tick);

// "language_pack_<id>.exe".
std::wstring LanguagePackFileName(std::int32_t languageId);
