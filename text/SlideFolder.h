// Where the status page's slide pictures lie: one folder per language and screen scale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// 100, 125, 150 or 200 for a vertical DPI bucket.
int SlideScaleForBucket(int dpiBucket) noexcept;

// languageFolder + id + "\slidesKest\" + scale + "\".
std::wstring SlideFolder(std::wstring_view languageFolder, std::int32_t languageId, int scale);

// Every "*.jpg" file of the folder (any letter case), as full paths in file-system order.
// Windows only.
std::vector<std::wstring> ListSlidePictures(const std::wstring& folder);
