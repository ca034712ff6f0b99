#include "text/LocalizedStrings.h"

std::wstring LocalizedStrings::StringFilePath(std::int32_t languageId) const {
  std::wstring path = languageFolder;
  path += std::to_wstring(languageId);
  path += L'\\';
  path += kStringFileName;
  return path;
}
