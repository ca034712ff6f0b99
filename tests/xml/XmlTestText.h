// Small helpers shared by the XML reader tests.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace kest::test {

// ASCII-only narrow text widened one character per code unit.
inline std::wstring Wide(std::string_view ascii) {
  return std::wstring(ascii.begin(), ascii.end());
}

// Code units as hexadecimal, for readable failure messages about UTF-16 text.
inline std::string Units(std::wstring_view text) {
  std::string out;
  char buffer[8];
  for (const wchar_t c : text) {
    std::snprintf(buffer, sizeof buffer, "%04X ", static_cast<unsigned>(c));
    out += buffer;
  }
  return out;
}

}  // namespace kest::test
