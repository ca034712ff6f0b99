// The whole start-up load: the registry override, the required values, the local file names
// and the local folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "app/RunOptions.h"
#include "config/InstallConfig.h"
#include "config/RegistryKey.h"
#include "tests/config/ManifestText.h"
#include "tests/support/TestPaths.h"

namespace {

namespace fs = std::filesystem;
using kest::test::ScratchFolder;
using kest::test::SourcePath;
using kest::test::WriteFileBytes;

using kest::test::GoodManifest;
using kest::test::kMainComponent;
using kest::test::kManifestProductCode;
using kest::test::Manifest;

// The whole load, in an executable folder of its own, with the override value saved and put back.
class LoadManifestTest : public ::testing::Test {
 protected:
  static constexpr wchar_t kOverrideKey[] = L"SOFTWARE\\QOR Systems\\Pictova Kest\\280";
  static constexpr wchar_t kOverrideValue[] = L"WebInstallerManifest";

  void SetUp() override {
    saved_ = RegistryKey(HKEY_CURRENT_USER, kOverrideKey).QueryString(kOverrideValue);
    SetOverride(L"");
    exe_ = ScratchFolder("exe");
    RunOptions() = InstallOptions();
  }
  void TearDown() override {
    RegistryKey key(HKEY_CURRENT_USER, kOverrideKey);
    if (saved_)
      key.SetString(kOverrideValue, *saved_);
    else
      ::RegDeleteValueW(key.ReadHandle(), kOverrideValue);
    RunOptions() = InstallOptions();
  }
  void SetOverride(const std::wstring& path) {
    RegistryKey key(HKEY_CURRENT_USER, kOverrideKey);
    ASSERT_EQ(key.SetString(kOverrideValue, path), ERROR_SUCCESS);
  }
  void WriteLocal(const std::string& bytes) {
    ASSERT_TRUE(WriteFileBytes(exe_ / "config" / "manifestKest.xml", bytes));
  }
  fs::path WriteOther(const std::string& bytes) {
    const fs::path file = ScratchFolder("override") / "override.xml";
    EXPECT_TRUE(WriteFileBytes(file, bytes));
    return file;
  }
  ManifestLoadResult Load() { return config_.LoadManifestFrom(exe_.wstring()); }

  std::optional<std::wstring> saved_;
  fs::path exe_;
  InstallConfig config_;
};

TEST_F(LoadManifestTest, LoadsAndPreparesEverything) {
  WriteLocal(GoodManifest());
  ASSERT_EQ(Load(), ManifestLoadResult::kLoaded);
  EXPECT_EQ(config_.executableFolder, exe_.wstring());
  EXPECT_EQ(config_.manifestPath, exe_.wstring() + L"\\config\\manifestKest.xml");
  EXPECT_EQ(config_.manifest.productId, L"PK280EN");
  ASSERT_FALSE(config_.languages.empty());
  EXPECT_EQ(config_.languages[0].languageId, 1033);
  EXPECT_EQ(config_.multiLanguage, 0);
  EXPECT_EQ(config_.uiStrings.languageFolder, exe_.wstring() + L"\\language\\");
  EXPECT_EQ(RunOptions().productInstalled, 0);
  EXPECT_TRUE(config_.installedProduct.version.empty());
  EXPECT_EQ(config_.installFolder, L"C:\\Program Files\\QOR Systems");
  for (const char* folder : {"component", "msi", "transform"})
    EXPECT_TRUE(fs::is_directory(exe_ / folder)) << folder;
}

TEST_F(LoadManifestTest, StartsFromTheRunningExecutablesFolder) {
  wchar_t module[MAX_PATH] = {};
  ASSERT_GT(::GetModuleFileNameW(nullptr, module, MAX_PATH), 0u);
  const std::wstring path(module);
  // No manifest lies beside the test program, so the load stops before touching any folder.
  EXPECT_EQ(config_.LoadManifest(), ManifestLoadResult::kManifestUnusable);
  EXPECT_EQ(config_.executableFolder, path.substr(0, path.rfind(L'\\')));
  EXPECT_EQ(config_.manifestPath, config_.executableFolder + L"\\config\\manifestKest.xml");
}

TEST_F(LoadManifestTest, MissingOrBrokenManifest) {
  EXPECT_EQ(Load(), ManifestLoadResult::kManifestUnusable);
  WriteLocal("<qorwebinstaller><product>");
  EXPECT_EQ(Load(), ManifestLoadResult::kManifestUnusable);
  WriteLocal("<other/>");
  EXPECT_EQ(Load(), ManifestLoadResult::kManifestUnusable);
}

TEST_F(LoadManifestTest, RequiredValues) {
  const std::string reg = "<registry>SOFTWARE\\KestTests\\Manifest</registry>";
  struct Case {
    const char* what;
    std::string children;
  } cases[] = {
      {"no pid", reg + kMainComponent},
      {"empty pid", "<pid></pid>" + reg + kMainComponent},
      {"no registry", "<pid>PK280EN</pid>" + kMainComponent},
      {"no package address",
       "<pid>PK280EN</pid>" + reg + "<main_component><name>a.msi</name></main_component>"},
  };
  for (const auto& c : cases) {
    InstallConfig fresh;
    WriteLocal(Manifest(c.children));
    EXPECT_EQ(fresh.LoadManifestFrom(exe_.wstring()), ManifestLoadResult::kManifestUnusable)
        << c.what;
  }
}

TEST_F(LoadManifestTest, NamesThatLeaveTheDownloadFoldersAreRefused) {
  const std::string head = "<pid>PK280EN</pid><registry>SOFTWARE\\KestTests\\Manifest</registry>";
  auto withPackage = [&](const std::string& name) {
    return Manifest(head + "<main_component><name>" + name +
                    "</name><full_url>http://127.0.0.1/a.msi</full_url></main_component>");
  };
  auto withDependency = [&](const std::string& name) {
    return Manifest(head + kMainComponent + "<dependency><name>" + name + "</name></dependency>");
  };
  struct Case {
    std::string manifest;
    ManifestLoadResult expected;
  } cases[] = {
      {withPackage("..\\..\\Windows\\System32\\evil.msi"), ManifestLoadResult::kManifestUnusable},
      {withPackage("../evil.msi"), ManifestLoadResult::kManifestUnusable},
      {withPackage("C:\\evil.msi"), ManifestLoadResult::kManifestUnusable},
      {withPackage("C:evil.msi"), ManifestLoadResult::kManifestUnusable},
      {withPackage(".."), ManifestLoadResult::kManifestUnusable},
      {withPackage(""), ManifestLoadResult::kManifestUnusable},
      {withDependency("..\\startup\\evil.exe"), ManifestLoadResult::kManifestUnusable},
      {withDependency("\\\\server\\share\\evil.exe"), ManifestLoadResult::kManifestUnusable},
      {withDependency("."), ManifestLoadResult::kManifestUnusable},
      {withPackage("Pictova Kest 28.msi"), ManifestLoadResult::kLoaded},
      {withDependency("vc_redist.x64.exe"), ManifestLoadResult::kLoaded},
  };
  for (const auto& c : cases) {
    InstallConfig fresh;
    WriteLocal(c.manifest);
    EXPECT_EQ(fresh.LoadManifestFrom(exe_.wstring()), c.expected) << c.manifest;
    // A refused manifest leaves nothing behind for the later steps, which run regardless.
    if (c.expected != ManifestLoadResult::kLoaded) {
      EXPECT_TRUE(fresh.manifest.packageName.empty());
      EXPECT_TRUE(fresh.manifest.packageAddress.empty());
      EXPECT_TRUE(fresh.manifest.prerequisites.empty());
    }
  }
  // Nothing was written outside the executable's folder.
  EXPECT_FALSE(fs::exists(exe_.parent_path() / "evil.msi"));
}

// An override that fails for another reason (here: no pid) must not leave its unsafe names in
// the model either, nor keep the first manifest's place.
TEST_F(LoadManifestTest, UnsafeOverrideLeavesNothingBehind) {
  WriteLocal(GoodManifest("PK280EN"));
  SetOverride(WriteOther(Manifest("<registry>SOFTWARE\\KestTests\\Other</registry>"
                                  "<main_component><name>..\\..\\x.msi</name><full_url>"
                                  "http://127.0.0.1/x.msi</full_url></main_component>"))
                  .wstring());
  EXPECT_EQ(Load(), ManifestLoadResult::kManifestUnusable);
  EXPECT_EQ(config_.manifest.packageName.find(L".."), std::wstring::npos);
}

TEST_F(LoadManifestTest, OverrideReplacesTheWholeModel) {
  WriteLocal(GoodManifest("PK280EN"));
  const fs::path other =
      WriteOther(Manifest("<pid>PK280DE</pid><registry>SOFTWARE\\KestTests\\Other</registry>" +
                          kMainComponent));  // no dependency
  SetOverride(other.wstring());
  ASSERT_EQ(Load(), ManifestLoadResult::kLoaded);
  EXPECT_EQ(config_.manifestPath, other.wstring());
  EXPECT_EQ(config_.manifest.productId, L"PK280DE");
  EXPECT_EQ(config_.manifest.shortName, L"");  // not kept from the local manifest
  EXPECT_TRUE(config_.manifest.prerequisites.empty());
  EXPECT_EQ(config_.languages[0].languageId, 1031);
}

TEST_F(LoadManifestTest, OverrideToMissingFileIsIgnored) {
  WriteLocal(GoodManifest("PK280EN"));
  SetOverride((exe_ / "nowhere.xml").wstring());
  ASSERT_EQ(Load(), ManifestLoadResult::kLoaded);
  EXPECT_EQ(config_.manifest.productId, L"PK280EN");
  EXPECT_EQ(config_.manifestPath, exe_.wstring() + L"\\config\\manifestKest.xml");
}

TEST_F(LoadManifestTest, OverrideThatFailsToParseFailsTheLoad) {
  WriteLocal(GoodManifest("PK280EN"));
  SetOverride(WriteOther("<qorwebinstaller><product>").wstring());
  EXPECT_EQ(Load(), ManifestLoadResult::kManifestUnusable);
  EXPECT_EQ(config_.manifest.productId, L"PK280EN");  // the first file's content stays
}

TEST_F(LoadManifestTest, OverrideWithoutPidFailsTheLoad) {
  WriteLocal(GoodManifest("PK280EN"));
  SetOverride(
      WriteOther(Manifest("<registry>SOFTWARE\\KestTests\\Other</registry>" + kMainComponent))
          .wstring());
  EXPECT_EQ(Load(), ManifestLoadResult::kManifestUnusable);
  EXPECT_EQ(config_.manifest.productId, L"");
}

TEST_F(LoadManifestTest, StandaloneManifestIsNeverOverridden) {
  WriteLocal(
      Manifest("<pid>PK280EN</pid><registry>SOFTWARE\\KestTests\\Manifest</registry>"
               "<standalone>True</standalone>" +
               kMainComponent));
  SetOverride(WriteOther(GoodManifest("PK280DE")).wstring());
  ASSERT_EQ(Load(), ManifestLoadResult::kLoaded);
  EXPECT_EQ(config_.manifest.productId, L"PK280EN");
  EXPECT_EQ(config_.manifest.standalone, 1);
  EXPECT_FALSE(fs::exists(exe_ / "component"));
}

TEST_F(LoadManifestTest, FoldersThatCannotBeMadeGiveTwo) {
  WriteLocal(GoodManifest());
  ASSERT_TRUE(WriteFileBytes(exe_ / "msi", "a file where the folder belongs"));
  // The file blocks the folder; SHCreateDirectory cannot create "msi\" over it.
  EXPECT_EQ(Load(), ManifestLoadResult::kFoldersNotPrepared);
}

}  // namespace
