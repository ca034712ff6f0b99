// Decimal numbers written as text in manifests, registry values and switches: leading blanks,
// an optional sign, then digits up to the first other character. Text without digits is 0.
#pragma once

#include <cstdint>
#include <string_view>

// The value saturates at the 64-bit limits instead of overflowing.
std::int64_t ParseDecimalPrefix(std::wstring_view text) noexcept;

// The same, limited to the signed 32-bit range used for language ids and region ids.
std::int32_t ParseDecimalInt32(std::wstring_view text) noexcept;
