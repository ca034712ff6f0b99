// Platform-neutral parts of the localised text: the key table and the folder scheme.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "text/LocalizedStrings.h"
#include "text/SlideFolder.h"
#include "text/UiStrings.h"

namespace {

TEST(UiStrings, KeysAreUniqueAndNamedAfterThemselves) {
  std::set<std::wstring_view> keys;
  for (const UiString& s : kUiStrings) {
    EXPECT_TRUE(s.key.starts_with(L"IDS_")) << std::wstring(s.key);
    EXPECT_FALSE(s.key.starts_with(L"IDS_RLINK_")) << std::wstring(s.key);
    EXPECT_FALSE(s.text.empty()) << std::wstring(s.key);
    keys.insert(s.key);
  }
  for (const UiString& s : kLinks) {
    EXPECT_TRUE(s.key.starts_with(L"IDS_RLINK_"));
    EXPECT_TRUE(s.text.starts_with(L"https://")) << std::wstring(s.text);
    keys.insert(s.key);
  }
  EXPECT_EQ(keys.size(), kUiStrings.size() + kLinks.size());
  EXPECT_EQ(IDS_ERR_CLIENT_TOO_OLD.text,
            L"The version of your client is too old, please click \"OK\" to download the latest "
            L"client.");
  EXPECT_EQ(IDS_TIME_REMAINING_HOURS.text, L"%02d hours %02d mins %02d secs remaining...");
}

TEST(StringFiles, PathPerLanguage) {
  LocalizedStrings strings;
  EXPECT_EQ(strings.currentLanguage, 1033u);
  strings.languageFolder = L"C:\\Kest\\language\\";
  EXPECT_EQ(strings.StringFilePath(1031), L"C:\\Kest\\language\\1031\\stringKest.ini");
}

TEST(SlidePictures, ScaleByBucket) {
  struct Case {
    int bucket;
    int scale;
  } cases[] = {{72, 100}, {96, 100}, {119, 100}, {120, 125}, {144, 150}, {192, 200}, {288, 200}};
  for (const auto& c : cases) EXPECT_EQ(SlideScaleForBucket(c.bucket), c.scale) << c.bucket;
  EXPECT_EQ(SlideFolder(L"C:\\Kest\\language\\", 1036, 150),
            L"C:\\Kest\\language\\1036\\slidesKest\\150\\");
}

}  // namespace
