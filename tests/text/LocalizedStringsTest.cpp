// String-file lookups and slide lists against real files, read through the platform's
// initialisation-file reader.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>

#include "tests/support/TestPaths.h"
#include "text/LocalizedStrings.h"
#include "text/SlideFolder.h"
#include "text/UiStrings.h"
#include "ui/theme/DpiScaling.h"

namespace {

using kest::test::ScratchFolder;
using kest::test::SourcePath;
using kest::test::WriteFileBytes;

std::wstring Folder(const std::filesystem::path& path) {
  return path.wstring() + L"\\";
}

std::string Utf16File(const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (const wchar_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

class LocalizedStringsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = ScratchFolder("strings");
    strings_.languageFolder = Folder(root_);
  }
  void WriteStringFile(int language, const std::wstring& text) {
    ASSERT_TRUE(
        WriteFileBytes(root_ / std::to_string(language) / "stringKest.ini", Utf16File(text)));
  }
  std::filesystem::path root_;
  LocalizedStrings strings_;
};

TEST_F(LocalizedStringsTest, MissingFileGivesEnglishDefaults) {
  strings_.currentLanguage = 1036;
  for (const UiString& s : kUiStrings) EXPECT_EQ(strings_.GetUiString(s), s.text);
  EXPECT_EQ(strings_.GetLink(IDS_RLINK_TERMS), IDS_RLINK_TERMS.text);
  EXPECT_EQ(strings_.GetLanguageTitle(1036), L"1036");
}

TEST_F(LocalizedStringsTest, FileValuesAndPerKeyDefaults) {
  WriteStringFile(1031,
                  L"[LANGUAGE]\r\nTitle=Deutsch\r\n[UISTRING]\r\n"
                  L"IDS_START_NOW=Jetzt starten\r\nIDS_PRODUCT_READY=%s ist bereit\r\n"
                  L"[RLINK]\r\nIDS_RLINK_TERMS=https://www.example.com/de/terms\r\n");
  strings_.currentLanguage = 1031;
  EXPECT_EQ(strings_.GetUiString(IDS_START_NOW), L"Jetzt starten");
  EXPECT_EQ(strings_.GetUiString(IDS_PRODUCT_READY), L"%s ist bereit");
  EXPECT_EQ(strings_.GetUiString(IDS_INSTALL), L"Install");  // key missing from the file
  EXPECT_EQ(strings_.GetLink(IDS_RLINK_TERMS), L"https://www.example.com/de/terms");
  EXPECT_EQ(strings_.GetLink(IDS_RLINK_SLIDE_SHOW), IDS_RLINK_SLIDE_SHOW.text);
  // A UI key is not looked for among the links, nor a link among the UI strings.
  EXPECT_EQ(strings_.GetUiString(L"IDS_RLINK_TERMS", L"none"), L"none");
  EXPECT_EQ(strings_.GetLink(L"IDS_START_NOW", L"none"), L"none");
  EXPECT_EQ(strings_.GetLanguageTitle(1031), L"Deutsch");

  // Nothing is cached: the next lookup follows a language change.
  strings_.currentLanguage = 1033;
  EXPECT_EQ(strings_.GetUiString(IDS_START_NOW), L"Start Now");
}

TEST_F(LocalizedStringsTest, LongValueIsCutTo259Characters) {
  const std::wstring longText(300, L'x');
  WriteStringFile(1040, L"[UISTRING]\r\nIDS_CLOSE_RUNNING_APPS=" + longText + L"\r\n");
  strings_.currentLanguage = 1040;
  EXPECT_EQ(strings_.GetUiString(IDS_CLOSE_RUNNING_APPS), std::wstring(259, L'x'));
}

TEST_F(LocalizedStringsTest, MissingTitleGivesDecimalId) {
  WriteStringFile(1040, L"[UISTRING]\r\nIDS_INSTALL=Installa\r\n");
  EXPECT_EQ(strings_.GetLanguageTitle(1040), L"1040");
  strings_.currentLanguage = 1040;
  EXPECT_EQ(strings_.GetUiString(IDS_INSTALL), L"Installa");
}

// The format directives of a translation, in order: a caller formats every language alike.
std::wstring Directives(const std::wstring& text) {
  static const std::wregex directive(L"%[-+ #0-9.]*[a-zA-Z%]");
  std::wstring found;
  for (std::wsregex_iterator it(text.begin(), text.end(), directive), end; it != end; ++it)
    found += it->str() + L" ";
  return found;
}

TEST(ShippedStringFiles, EveryLanguageHasEveryText) {
  LocalizedStrings strings;
  strings.languageFolder = Folder(SourcePath("language"));
  for (const int language : {1033, 1031, 1036, 1040}) {
    SCOPED_TRACE(language);
    strings.currentLanguage = language;
    const std::wstring title = strings.GetLanguageTitle(language);
    EXPECT_NE(title, std::to_wstring(language));
    for (const UiString& s : kUiStrings) {
      const std::wstring text = strings.GetUiString(s.key, L"<missing>");
      EXPECT_NE(text, L"<missing>") << std::wstring(s.key);
      EXPECT_LT(text.size(), 259u) << std::wstring(s.key);
      EXPECT_EQ(Directives(text), Directives(std::wstring(s.text))) << std::wstring(s.key);
    }
    for (const UiString& link : kLinks)
      EXPECT_TRUE(strings.GetLink(link.key, L"<missing>").starts_with(L"https://"))
          << std::wstring(link.key);
  }
  strings.currentLanguage = 1033;
  for (const UiString& s : kUiStrings) EXPECT_EQ(strings.GetUiString(s.key, L""), s.text);
  strings.currentLanguage = 1031;
  EXPECT_EQ(strings.GetUiString(IDS_SELECT_LANG), L"Bitte w\u00e4hlen Sie eine Sprache:");
}

TEST(SlidePictures, OnlyJpegFilesAnyCase) {
  const auto folder = ScratchFolder("slides");
  for (const char* name : {"one.jpg", "TWO.JPG", "three.png", "four.jpeg"})
    ASSERT_TRUE(WriteFileBytes(folder / name, "x"));
  std::filesystem::create_directories(folder / "sub.jpg");
  std::vector<std::wstring> pictures = ListSlidePictures(Folder(folder));
  std::sort(pictures.begin(), pictures.end());
  EXPECT_EQ(pictures,
            (std::vector<std::wstring>{Folder(folder) + L"TWO.JPG", Folder(folder) + L"one.jpg"}));
  EXPECT_TRUE(ListSlidePictures(Folder(folder / "missing")).empty());
}

TEST(SlidePictures, FolderFollowsScreenScaleAndStaysForTheProcess) {
  LocalizedStrings strings;
  strings.languageFolder = Folder(ScratchFolder("no-slides"));
  EXPECT_TRUE(strings.GetSlidePictures().empty());  // nothing found: the next call looks again

  strings.languageFolder = Folder(SourcePath("language"));
  strings.currentLanguage = 1036;
  const int scale = SlideScaleForBucket(ImageDpiBucket());
  const std::wstring folder = SlideFolder(strings.languageFolder, 1036, scale);
  const std::vector<std::wstring> pictures = strings.GetSlidePictures();
  ASSERT_EQ(pictures.size(), 3u);
  for (const auto& picture : pictures) EXPECT_TRUE(picture.starts_with(folder)) << picture;

  strings.currentLanguage = 1031;
  EXPECT_EQ(strings.GetSlidePictures(), pictures);
}

TEST(SlidePictures, ShippedForEveryLanguageAndScale) {
  const std::wstring root = Folder(SourcePath("language"));
  for (const int language : {1033, 1031, 1036, 1040})
    for (const int bucket : {96, 120, 144, 192}) {
      const std::wstring folder = SlideFolder(root, language, SlideScaleForBucket(bucket));
      EXPECT_EQ(ListSlidePictures(folder).size(), 3u) << folder;
    }
}

}  // namespace
