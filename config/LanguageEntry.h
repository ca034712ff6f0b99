// One language the user can be offered: its display title and Windows language id.
#pragma once

#include <cstdint>
#include <string>

struct LanguageEntry {
  std::wstring displayName;
  std::int32_t languageId = 0;
};
