#include <windows.h>

#include "text/SlideFolder.h"
#include "ui/framework/UniqueHandle.h"

std::vector<std::wstring> ListSlidePictures(const std::wstring& folder) {
  std::vector<std::wstring> pictures;
  const std::wstring pattern = folder + L"*.jpg";
  WIN32_FIND_DATAW found = {};
  fw::UniqueFind search(::FindFirstFileW(pattern.c_str(), &found));
  if (!search) return pictures;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      pictures.push_back(folder + found.cFileName);
  } while (::FindNextFileW(search.Get(), &found));
  return pictures;
}
