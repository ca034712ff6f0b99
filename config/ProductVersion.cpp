#include "config/ProductVersion.h"

#include "config/DecimalText.h"

ProductVersion ProductVersion::Parse(std::wstring_view text) noexcept {
  if (text.size() < 7) return {};
  std::uint32_t numbers[4] = {};
  int count = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t dot = text.find(L'.', start);
    if (dot == std::wstring_view::npos) dot = text.size();
    if (dot > start) {
      if (count == 4) return {};
      // Negative parts wrap like any unsigned conversion; the comparisons stay unsigned.
      numbers[count++] =
          static_cast<std::uint32_t>(ParseDecimalPrefix(text.substr(start, dot - start)));
    }
    start = dot + 1;
  }
  if (count != 4) return {};
  return {numbers[0], numbers[1], numbers[2], numbers[3]};
}

bool IsPatchVersion(std::wstring_view baseVersion, std::wstring_view candidateVersion) noexcept {
  const ProductVersion base = ProductVersion::Parse(baseVersion);
  const ProductVersion candidate = ProductVersion::Parse(candidateVersion);
  return candidate.major == base.major && candidate.minor >= base.minor &&
         candidate.revision > base.revision;
}
