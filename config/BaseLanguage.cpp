#include "config/BaseLanguage.h"

#include <array>
#include <cwctype>

#include "config/DecimalText.h"

namespace {

struct SuffixRow {
  std::wstring_view suffix;
  BaseLanguage language;
};

// "ZA" is Chinese (Simplified) and "ZH" Chinese (Traditional).
constexpr std::array<SuffixRow, 7> kEditions = {{
    {L"DE", {L"German", 1031, true}},
    {L"FR", {L"French", 1036, true}},
    {L"ZA", {L"Chinese (Simplified)", 2052, true}},
    {L"ZH", {L"Chinese (Traditional)", 1028, true}},
    {L"JA", {L"Japanese", 1041, true}},
    {L"IT", {L"Italian", 1040, true}},
    {L"ES", {L"Spanish", 1034, true}},
}};

constexpr BaseLanguage kInternational{L"English", 1033, false};

bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towupper(a[i]) != std::towupper(b[i])) return false;
  return true;
}

}  // namespace

BaseLanguage BaseLanguageForProductId(std::wstring_view productId) {
  const std::wstring_view suffix =
      productId.size() > 2 ? productId.substr(productId.size() - 2) : productId;
  for (const SuffixRow& row : kEditions)
    if (EqualIgnoringCase(row.suffix, suffix)) return row.language;
  return kInternational;
}

std::optional<std::int32_t> ChooseInitialLanguage(std::span<const LanguageEntry> languages,
                                                  const BaseLanguage& base,
                                                  std::wstring_view languageArgument,
                                                  std::int32_t systemLanguage) {
  std::int32_t wanted = systemLanguage;
  if (!languageArgument.empty()) {
    const std::int32_t requested = ParseDecimalInt32(languageArgument);
    if (requested > 0) wanted = requested;
  } else if (base.languageEdition) {
    wanted = base.languageId;
  }
  for (const LanguageEntry& entry : languages)
    if (entry.languageId == wanted) return entry.languageId;
  return std::nullopt;
}
