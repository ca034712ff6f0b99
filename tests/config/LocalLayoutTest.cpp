// Local download folders, component names, the language list and the region check.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <regex>
#include <string>

#include "app/RunOptions.h"
#include "config/InstallConfig.h"
#include "config/Region.h"
#include "config/RegistryKey.h"
#include "tests/support/TestPaths.h"

namespace {

namespace fs = std::filesystem;
using kest::test::ScratchFolder;
using kest::test::SourcePath;
using kest::test::WriteFileBytes;

TEST(LocalFolders, CreatedBesideTheExecutable) {
  const fs::path root = ScratchFolder("layout") / "deep" / "exe";
  InstallConfig config;
  config.executableFolder = root.wstring();
  ASSERT_TRUE(config.PrepareLocalFolders());
  EXPECT_EQ(config.componentFolder, root.wstring() + L"\\component\\");
  EXPECT_EQ(config.packageFolder, root.wstring() + L"\\msi\\");
  EXPECT_EQ(config.transformFolder, root.wstring() + L"\\transform\\");
  for (const char* folder : {"component", "msi", "transform"})
    EXPECT_TRUE(fs::is_directory(root / folder)) << folder;
}

TEST(LocalFolders, LeftoverDownloadsStay) {
  const fs::path root = ScratchFolder("leftover");
  ASSERT_TRUE(WriteFileBytes(root / "component" / "123webview2.exe", "old"));
  InstallConfig config;
  config.executableFolder = root.wstring();
  ASSERT_TRUE(config.PrepareLocalFolders());
  EXPECT_TRUE(fs::exists(root / "component" / "123webview2.exe"));

  // New names carry the current tick, so they never meet the old file.
  const std::wstring path = config.ComponentPath(L"webview2.exe");
  EXPECT_TRUE(std::regex_match(path, std::wregex(L".*\\\\component\\\\-?[0-9]+webview2\\.exe")))
      << path;
  EXPECT_TRUE(
      std::regex_match(config.LanguagePackPath(1031),
                       std::wregex(L".*\\\\component\\\\-?[0-9]+language_pack_1031\\.exe")));
  EXPECT_EQ(config.TransformPath(1036), root.wstring() + L"\\transform\\1036.mst");
}

TEST(LocalFolders, StandaloneComponentFolderIsNotTouched) {
  const fs::path root = ScratchFolder("standalone");
  InstallConfig config;
  config.executableFolder = root.wstring();
  config.manifest.standalone = 1;
  config.manifest.packageName = L"PictovaKest.msi";
  ASSERT_TRUE(config.PrepareLocalFolders());
  EXPECT_FALSE(fs::exists(root / "component"));  // not created either
  EXPECT_EQ(config.ComponentPath(L"webview2.exe"), root.wstring() + L"\\component\\webview2.exe");
  EXPECT_EQ(config.LanguagePackPath(1040), root.wstring() + L"\\component\\language_pack_1040.exe");
  EXPECT_EQ(config.PackagePath(), root.wstring() + L"\\msi\\PictovaKest.msi");
}

TEST(LocalFolders, FolderThatCannotBeCreatedFails) {
  const fs::path root = ScratchFolder("blocked");
  ASSERT_TRUE(WriteFileBytes(root / "msi", "a file where the folder should be"));
  InstallConfig config;
  config.executableFolder = (root / "msi" / "below").wstring();
  EXPECT_FALSE(config.PrepareLocalFolders());
}

class LanguageListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The shipped string files give the packs their titles.
    const fs::path exe = ScratchFolder("langs");
    fs::copy(SourcePath("language"), exe / "language", fs::copy_options::recursive);
    config_.executableFolder = exe.wstring();
    RunOptions().languageArgument.clear();
  }
  void TearDown() override { RunOptions().languageArgument.clear(); }
  void AddPack(std::int32_t language) {
    config_.manifest.languagePacks.push_back(
        {language, L"PK280", L"pack" + std::to_wstring(language), L"http://127.0.0.1/p"});
  }
  InstallConfig config_;
};

TEST_F(LanguageListTest, EditionFirstThenPacksTitledFromStringFiles) {
  config_.manifest.productId = L"PK280ZA";
  AddPack(1031);
  AddPack(1049);  // no string file: listed under its number
  config_.BuildLanguageList(1036);
  ASSERT_EQ(config_.languages.size(), 3u);
  EXPECT_EQ(config_.languages[0].displayName, L"Chinese (Simplified)");
  EXPECT_EQ(config_.languages[0].languageId, 2052);
  EXPECT_EQ(config_.languages[1].displayName, L"Deutsch");
  EXPECT_EQ(config_.languages[2].displayName, L"1049");
  EXPECT_EQ(config_.uiStrings.currentLanguage, 2052u);
  EXPECT_EQ(config_.uiStrings.languageFolder, config_.executableFolder + L"\\language\\");
  EXPECT_EQ(config_.multiLanguage, 1);
}

TEST_F(LanguageListTest, InitialLanguageCases) {
  struct Case {
    const char* what;
    const wchar_t* productId;
    std::vector<std::int32_t> packs;
    const wchar_t* argument;
    std::int32_t system;
    std::uint32_t expected;
    std::int32_t multiLanguage;
  } cases[] = {
      {"international edition on a German system with a German pack",
       L"PK280EN",
       {1031},
       L"",
       1031,
       1031,
       1},
      {"international edition on a German system without one",
       L"PK280EN",
       {1036},
       L"",
       1031,
       1033,
       1},
      {"/lang 1040 without an Italian pack", L"PK280EN", {1031}, L"1040", 1031, 1033, 1},
      {"/lang 1036 with a French pack", L"PK280DE", {1036}, L"1036", 1031, 1036, 1},
      {"/lang not a number tries the system language", L"PK280EN", {1031}, L"fr", 1031, 1031, 1},
      {"edition language beats the system", L"PK280DE", {}, L"", 1033, 1031, 0},
      {"pack for the base language is listed twice", L"PK280DE", {1031}, L"", 1033, 1031, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    InstallConfig config;
    config.executableFolder = config_.executableFolder;
    config.manifest.productId = c.productId;
    for (const auto id : c.packs) config.manifest.languagePacks.push_back({id, L"", L"", L""});
    RunOptions().languageArgument = c.argument;
    config.BuildLanguageList(c.system);
    EXPECT_EQ(config.uiStrings.currentLanguage, c.expected);
    EXPECT_EQ(config.multiLanguage, c.multiLanguage);
    EXPECT_EQ(config.languages.size(), c.packs.size() + 1);
  }
}

class RegionTest : public ::testing::Test {
 protected:
  static constexpr wchar_t kGeoKey[] = L"Control Panel\\International\\Geo";
  void SetUp() override { saved_ = RegistryKey(HKEY_CURRENT_USER, kGeoKey).QueryString(L"Nation"); }
  void TearDown() override {
    RegistryKey key(HKEY_CURRENT_USER, kGeoKey);
    if (saved_)
      key.SetString(L"Nation", *saved_);
    else
      ::RegDeleteValueW(key.ReadHandle(), L"Nation");
  }
  std::optional<std::wstring> saved_;
};

TEST_F(RegionTest, NationDecidesTheLicenceDefault) {
  struct Case {
    const wchar_t* nation;
    bool consentRegion;
  } cases[] = {{L"94", true},  {L"244", false}, {L"122", true}, {L" 242", true},
               {L"39x", true}, {L"abc", false}, {L"", false},   {L"-94", false}};
  for (const auto& c : cases) {
    RegistryKey key(HKEY_CURRENT_USER, kGeoKey);
    ASSERT_EQ(key.SetString(L"Nation", c.nation), ERROR_SUCCESS);
    EXPECT_EQ(IsRegionWithConsentDefault(), c.consentRegion) << c.nation;
  }
  ::RegDeleteValueW(RegistryKey(HKEY_CURRENT_USER, kGeoKey).ReadHandle(), L"Nation");
  EXPECT_FALSE(IsRegionWithConsentDefault());
}

}  // namespace
