// The current user-interface language and the lookups of its string file
// (<language folder><id>\stringKest.ini). Every lookup builds the path and tests the file
// afresh, so a language change takes effect at the next lookup; a missing file, section or key
// gives the caller's default.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/UiStrings.h"

class LocalizedStrings {
 public:
  static constexpr std::wstring_view kStringFileName = L"stringKest.ini";

  std::uint32_t currentLanguage = 1033;
  std::wstring languageFolder;  // executable folder + "\language\"

  // languageFolder + id + "\stringKest.ini".
  std::wstring StringFilePath(std::int32_t languageId) const;

  // Section "UISTRING" of the current language; values are cut at 259 characters.
  std::wstring GetUiString(std::wstring_view key, std::wstring_view defaultText) const;
  std::wstring GetUiString(const UiString& text) const { return GetUiString(text.key, text.text); }

  // Section "RLINK" of the current language.
  std::wstring GetLink(std::wstring_view key, std::wstring_view defaultAddress) const;
  std::wstring GetLink(const UiString& link) const { return GetLink(link.key, link.text); }

  // "Title" of section "LANGUAGE" in the given language's file; the id in decimal otherwise.
  std::wstring GetLanguageTitle(std::int32_t languageId) const;

  // Full paths of the slide pictures for the current language and the screen's scale. The list
  // is taken once per process, at the first call that finds any picture.
  std::vector<std::wstring> GetSlidePictures() const;
};
