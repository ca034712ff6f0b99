#include "text/SlideFolder.h"

int SlideScaleForBucket(int dpiBucket) noexcept {
  if (dpiBucket >= 192) return 200;
  if (dpiBucket >= 144) return 150;
  if (dpiBucket < 120) return 100;
  return 125;
}

std::wstring SlideFolder(std::wstring_view languageFolder, std::int32_t languageId, int scale) {
  std::wstring folder(languageFolder);
  folder += std::to_wstring(languageId);
  folder += L"\\slidesKest\\";
  folder += std::to_wstring(scale);
  folder += L'\\';
  return folder;
}
