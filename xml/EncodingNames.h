// Encoding names and aliases (as they appear in XML declarations and HTML meta tags) and the
// Windows code pages they stand for.
#pragma once

#include <cstdint>
#include <string_view>

namespace xml {

// 65005, the system's marker for UTF-32, for a name beginning with "UTF-32" in capitals.
inline constexpr std::int32_t kUtf32Marker = 65005;

// The code page of an encoding name, ASCII letter case ignored: 0 for an empty name, -1 for an
// unknown name or one of 100 or more characters.
std::int32_t CodePageFromName(std::wstring_view name);

// Size of the name table (365 names for 110 code pages) and its entries in table order.
std::size_t EncodingNameCount();
std::wstring_view EncodingNameAt(std::size_t index);
std::int32_t EncodingCodePageAt(std::size_t index);

}  // namespace xml
