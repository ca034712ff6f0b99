#include "text/LocalizedStrings.h"

#include <windows.h>

#include <shlwapi.h>

#include "text/SlideFolder.h"
#include "ui/theme/DpiScaling.h"

namespace {

// The platform fills at most 259 characters and a NUL into this buffer.
constexpr DWORD kValueBufferChars = 260;

std::wstring ReadStringFile(const std::wstring& path, const wchar_t* section, std::wstring_view key,
                            std::wstring_view defaultText) {
  const std::wstring fallback(defaultText);
  if (!::PathFileExistsW(path.c_str())) return fallback;
  const std::wstring keyText(key);
  wchar_t buffer[kValueBufferChars] = {};
  const DWORD copied = ::GetPrivateProfileStringW(section, keyText.c_str(), fallback.c_str(),
                                                  buffer, kValueBufferChars, path.c_str());
  return std::wstring(buffer, copied);
}

}  // namespace

std::wstring LocalizedStrings::GetUiString(std::wstring_view key,
                                           std::wstring_view defaultText) const {
  return ReadStringFile(StringFilePath(static_cast<std::int32_t>(currentLanguage)), L"UISTRING",
                        key, defaultText);
}

std::wstring LocalizedStrings::GetLink(std::wstring_view key,
                                       std::wstring_view defaultAddress) const {
  return ReadStringFile(StringFilePath(static_cast<std::int32_t>(currentLanguage)), L"RLINK", key,
                        defaultAddress);
}

std::wstring LocalizedStrings::GetLanguageTitle(std::int32_t languageId) const {
  return ReadStringFile(StringFilePath(languageId), L"LANGUAGE", L"Title",
                        std::to_wstring(languageId));
}

std::vector<std::wstring> LocalizedStrings::GetSlidePictures() const {
  // One list for the whole process: the pictures stay those of the first call that found any.
  static std::vector<std::wstring> pictures;
  if (!pictures.empty()) return pictures;
  const int scale = SlideScaleForBucket(ImageDpiBucket());
  pictures = ListSlidePictures(
      SlideFolder(languageFolder, static_cast<std::int32_t>(currentLanguage), scale));
  return pictures;
}
