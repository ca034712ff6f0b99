#include "engine/InstallerLogLine.h"

namespace {

bool IsSpace(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

std::wstring_view Trim(std::wstring_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

wchar_t Lower(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
}

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (Lower(text[i]) != Lower(prefix[i])) return false;
  return true;
}

}  // namespace

std::optional<std::wstring> ParseHomepageLogLine(std::wstring_view line) {
  constexpr std::wstring_view kPrefix = L"Property(S):";
  constexpr std::wstring_view kName = L"InstallHomepageURL =";
  if (line.size() <= 11 || !StartsWithIgnoringCase(line, kPrefix)) return std::nullopt;
  const std::wstring_view rest = Trim(line.substr(kPrefix.size()));
  if (!StartsWithIgnoringCase(rest, kName)) return std::nullopt;
  return std::wstring(Trim(rest.substr(kName.size())));
}
