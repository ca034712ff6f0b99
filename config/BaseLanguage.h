// The product edition's base language, chosen by the last two characters of the product id,
// and the rule that picks the initial user-interface language.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "config/LanguageEntry.h"

struct BaseLanguage {
  std::wstring_view displayName;
  std::int32_t languageId = 1033;
  bool languageEdition = false;  // false for the international (English) edition
};

// Suffix compared ignoring letter case; any other suffix gives the international edition.
BaseLanguage BaseLanguageForProductId(std::wstring_view productId);

// The language the list should start with: a positive "/lang" value, else the system language
// when "/lang" was given; without "/lang" the edition language of a language edition, else the
// system language. The result is used only when the list holds it (the first such entry).
std::optional<std::int32_t> ChooseInitialLanguage(std::span<const LanguageEntry> languages,
                                                  const BaseLanguage& base,
                                                  std::wstring_view languageArgument,
                                                  std::int32_t systemLanguage);
