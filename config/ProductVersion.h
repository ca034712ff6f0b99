// Four-number product versions ("28.0.5.101") and the rule that tells whether a release is a
// patch of an installed version.
#pragma once

#include <cstdint>
#include <string_view>

struct ProductVersion {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::uint32_t revision = 0;

  // Texts shorter than seven characters, and texts that do not hold exactly four numbers
  // between dots (empty parts are skipped), give 0.0.0.0.
  static ProductVersion Parse(std::wstring_view text) noexcept;

  friend bool operator==(const ProductVersion&, const ProductVersion&) = default;
};

// Same major, minor not lower, revision higher; the build number plays no part.
bool IsPatchVersion(std::wstring_view baseVersion, std::wstring_view candidateVersion) noexcept;
