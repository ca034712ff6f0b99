#include "config/LocalFileName.h"

#include "config/InstallConfig.h"
#include "config/TickCount.h"

#include <array>
#include <cwctype>

namespace {

// Device names that Windows opens instead of a file, whatever the extension.
bool IsDeviceName(std::wstring_view name) {
  std::wstring_view stem = name.substr(0, name.find(L'.'));
  while (!stem.empty() && stem.back() == L' ') stem.remove_suffix(1);
  std::wstring upper;
  for (const wchar_t c : stem) upper.push_back(static_cast<wchar_t>(std::towupper(c)));
  constexpr std::array<std::wstring_view, 4> kFixed = {L"CON", L"PRN", L"AUX", L"NUL"};
  for (const auto device : kFixed)
    if (upper == device) return true;
  // Windows also takes the superscript digits 1, 2 and 3 as port numbers.
  const auto isPortDigit = [](wchar_t c) {
    return (c >= L'1' && c <= L'9') || c == L'\u00B9' || c == L'\u00B2' || c == L'\u00B3';
  };
  return upper.size() == 4 && (upper.starts_with(L"COM") || upper.starts_with(L"LPT")) &&
         isPortDigit(upper[3]);
}

}  // namespace

bool IsPlainFileName(std::wstring_view name) {
  // Windows drops trailing dots and blanks from a name, so "..." or ". ." would name the
  // folder itself or its parent.
  if (name.find_first_not_of(L". ") == std::wstring_view::npos) return false;
  for (const wchar_t c : name) {
    if (c < 0x20) return false;
    if (std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) return false;
  }
  return !IsDeviceName(name);
}

std::wstring ComponentFileName(std::wstring_view folder, std::wstring_view name, bool standalone,
                               std::uint32_t tick) {
  std::wstring path(folder);
  // Past about 24.8 days of uptime the tick is written with a minus sign; still a valid name.
  if (!standalone) path += std::to_wstring(static_cast<std::int32_t>(tick));
  path += name;
  return path;
}

std::wstring LanguagePackFileName(std::int32_t languageId) {
  return L"language_pack_" + std::to_wstring(languageId) + L".exe";
}

std::wstring InstallConfig::ComponentPath(std::wstring_view name) const {
  return ComponentFileName(componentFolder, name, manifest.standalone != 0, CurrentTickCount());
}

std::wstring InstallConfig::LanguagePackPath(std::int32_t languageId) const {
  return ComponentPath(LanguagePackFileName(languageId));
}

std::wstring InstallConfig::PackagePath() const {
  return packageFolder + manifest.packageName;
}

std::wstring InstallConfig::TransformPath(std::int32_t languageId) const {
  return transformFolder + std::to_wstring(languageId) + L".mst";
}
