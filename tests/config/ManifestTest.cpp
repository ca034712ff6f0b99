// Reading the install manifest: format and order rules, then the whole start-up load with the
// registry override, the required values and the local file names.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "app/RunOptions.h"
#include "config/InstallConfig.h"
#include "config/RegistryKey.h"
#include "tests/support/TestPaths.h"

namespace {

namespace fs = std::filesystem;
using kest::test::ScratchFolder;
using kest::test::SourcePath;
using kest::test::WriteFileBytes;

constexpr char kProductCode[] = "{5B8E2F14-3C6A-4E9D-8B17-A2C4D6E8F013}";  // never installed

// A manifest with the given product children (UTF-8).
std::string Manifest(const std::string& productChildren, const std::string& top = "") {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<qorwebinstaller>\n" + top +
         "<product_code>" + kProductCode + "</product_code>\n<product>\n" + productChildren +
         "</product>\n</qorwebinstaller>\n";
}

const std::string kMain =
    "<main_component><name>PictovaKest.msi</name>"
    "<full_url>http://127.0.0.1:8642/kest/PictovaKest.msi</full_url></main_component>\n";

std::string Good(const std::string& pid = "PK280EN") {
  return Manifest("<pid>" + pid +
                  "</pid><short_name>Kest</short_name>"
                  "<registry>SOFTWARE\\KestTests\\Manifest</registry>\n" +
                  kMain +
                  "<dependency><name>webview2.exe</name>"
                  "<full_url>http://127.0.0.1:8642/kest/webview2.exe</full_url></dependency>\n");
}

ProductManifest Parse(const std::string& bytes, bool* parsed = nullptr) {
  const fs::path file = ScratchFolder("manifest") / "manifestKest.xml";
  EXPECT_TRUE(WriteFileBytes(file, bytes));
  InstallConfig config;
  config.manifestPath = file.wstring();
  ProductManifest model;
  const bool ok = config.ParseManifest(model);
  if (parsed) *parsed = ok;
  return model;
}

TEST(ParseManifest, FullManifest) {
  InstallConfig config;
  config.manifestPath = SourcePath("tests/fixtures/config/manifests/full.xml").wstring();
  ProductManifest m;
  ASSERT_TRUE(config.ParseManifest(m));
  EXPECT_EQ(m.installerVersion, L"1.2.0.7");
  EXPECT_EQ(m.productCode, L"{5B8E2F14-3C6A-4E9D-8B17-A2C4D6E8F013}");
  EXPECT_EQ(m.productId, L"PK280DE");
  EXPECT_EQ(m.fullName, L"Pictova Kest & Friends");
  EXPECT_EQ(m.shortName, L"Kest");
  EXPECT_EQ(m.registryKey, L"SOFTWARE\\KestTests\\Manifest\\Full");
  EXPECT_EQ(m.standalone, 1);
  EXPECT_EQ(m.standaloneVersion, L" 28.0.0.100 ");  // values are not trimmed
  EXPECT_EQ(m.versionDocumentAddress, L"http://127.0.0.1:8642/kest/version.xml?a=1&b=2");
  EXPECT_EQ(m.packageName, L"PictovaKest.msi");
  EXPECT_EQ(m.executable, L"PictovaKest.exe");
  EXPECT_EQ(m.packageAddress, L"http://127.0.0.1:8642/kest/PictovaKest.msi");

  // Both transforms for 1031 in document order; one without lang_id dropped; "1036abc" is 1036.
  ASSERT_EQ(m.transforms.size(), 3u);
  EXPECT_EQ(m.transforms[0].languageId, 1031);
  EXPECT_EQ(m.transforms[0].name, L"first_1031.mst");
  EXPECT_EQ(m.transforms[1].name, L"second_1031.mst");
  EXPECT_EQ(m.transforms[1].address, L"http://127.0.0.1:8642/kest/t/second_1031.mst");
  EXPECT_EQ(m.transforms[2].languageId, 1036);
  EXPECT_EQ(m.transforms[2].name, L"");
  EXPECT_EQ(m.transforms[2].address, L"http://127.0.0.1:8642/kest/t/1036.mst");

  // The pack inside main_component is not one; one without lang_id is dropped; letters give 0.
  ASSERT_EQ(m.languagePacks.size(), 2u);
  EXPECT_EQ(m.languagePacks[0].languageId, 1036);
  EXPECT_EQ(m.languagePacks[0].productId, L"PK280FR");
  EXPECT_EQ(m.languagePacks[0].name, L"lp_1036.msi");
  EXPECT_EQ(m.languagePacks[0].address, L"http://127.0.0.1:8642/kest/lp/1036.msi");
  EXPECT_EQ(m.languagePacks[1].languageId, 0);
  EXPECT_EQ(m.languagePacks[1].productId, L"");
  EXPECT_EQ(m.languagePacks[1].name, L"lp_letters.msi");

  ASSERT_EQ(m.prerequisites.size(), 2u);
  EXPECT_EQ(m.prerequisites[0].name, L"webview2.exe");
  EXPECT_EQ(m.prerequisites[0].address, L"http://127.0.0.1:8642/kest/dep/webview2.exe");
  EXPECT_EQ(m.prerequisites[0].commandLine, L"/silent /install");
  EXPECT_EQ(m.prerequisites[1].name, L"KestRuntime.msi");
  EXPECT_EQ(m.prerequisites[1].address, L"");
  EXPECT_EQ(m.prerequisites[1].commandLine, L"/qn");
}

TEST(ParseManifest, LookupsOnlyMoveForward) {
  // product_code before web_installer_version: the second lookup does not look back.
  ProductManifest m = Parse(
      "<qorwebinstaller><product_code>{X}</product_code>"
      "<web_installer_version>1.0.0.0</web_installer_version></qorwebinstaller>");
  EXPECT_EQ(m.installerVersion, L"1.0.0.0");
  EXPECT_EQ(m.productCode, L"");

  // full_name before pid.
  m = Parse(Manifest("<full_name>Kest</full_name><pid>PK280EN</pid>"));
  EXPECT_EQ(m.productId, L"PK280EN");
  EXPECT_EQ(m.fullName, L"");

  // A language pack before main_component is not seen.
  m = Parse(Manifest("<language_pack><lang_id>1031</lang_id></language_pack>" + kMain));
  EXPECT_TRUE(m.languagePacks.empty());
  EXPECT_EQ(m.packageName, L"PictovaKest.msi");

  // Language packs before the last product value that was read are not seen either.
  m = Parse(Manifest("<language_pack><lang_id>1031</lang_id></language_pack>"
                     "<pid>PK280EN</pid>"));
  EXPECT_TRUE(m.languagePacks.empty());

  // A dependency before a language pack is not seen.
  m = Parse(Manifest(kMain + "<dependency><name>a.exe</name></dependency>"
                             "<language_pack><lang_id>1031</lang_id></language_pack>"));
  EXPECT_EQ(m.languagePacks.size(), 1u);
  EXPECT_TRUE(m.prerequisites.empty());

  // main_component without a name: nothing of it is read, what follows it still is.
  m = Parse(Manifest("<main_component><full_url>http://x/a.msi</full_url>"
                     "<transform><lang_id>1031</lang_id></transform></main_component>"
                     "<language_pack><lang_id>1036</lang_id></language_pack>"));
  EXPECT_EQ(m.packageAddress, L"");
  EXPECT_TRUE(m.transforms.empty());
  EXPECT_EQ(m.languagePacks.size(), 1u);

  // full_url before executable inside main_component.
  m = Parse(Manifest("<main_component><name>a.msi</name><full_url>http://x/a.msi</full_url>"
                     "<executable>a.exe</executable></main_component>"));
  EXPECT_EQ(m.packageAddress, L"http://x/a.msi");
  EXPECT_EQ(m.executable, L"");
}

TEST(ParseManifest, StandaloneSpellings) {
  struct Case {
    const char* element;
    int standalone;
  } cases[] = {
      {"<standalone>true</standalone>", 1}, {"<standalone>TRUE</standalone>", 1},
      {"<standalone>tRuE</standalone>", 1}, {"<standalone> true</standalone>", 0},
      {"<standalone>true </standalone>", 0}, {"<standalone>yes</standalone>", 0},
      {"<standalone>1</standalone>", 0},    {"<standalone/>", 0},
      {"", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Parse(Manifest(std::string("<pid>P</pid>") + c.element)).standalone, c.standalone)
        << c.element;
}

TEST(ParseManifest, DocumentLevelCases) {
  bool parsed = false;
  ProductManifest m = Parse("<other><product><pid>PK280EN</pid></product></other>", &parsed);
  EXPECT_TRUE(parsed);  // another root: nothing read, not an error here
  EXPECT_EQ(m.productId, L"");

  m = Parse("<qorwebinstaller><web_installer_version>2.0.0.0</web_installer_version>"
            "</qorwebinstaller>",
            &parsed);
  EXPECT_TRUE(parsed);
  EXPECT_EQ(m.installerVersion, L"2.0.0.0");
  EXPECT_EQ(m.productId, L"");

  Parse("<qorwebinstaller><product><pid>PK280EN</pid></product>", &parsed);
  EXPECT_FALSE(parsed);  // not well-formed

  InstallConfig config;
  config.manifestPath = (ScratchFolder("none") / "missing.xml").wstring();
  ProductManifest kept;
  kept.productId = L"kept";
  EXPECT_FALSE(config.ParseManifest(kept));
  EXPECT_EQ(kept.productId, L"kept");
}

TEST(ParseManifest, Utf16Document) {
  const std::string utf8 = Good("PK280FR");
  std::string bytes = "\xFF\xFE";
  for (const char c : utf8) {
    bytes.push_back(c);
    bytes.push_back('\0');
  }
  bool parsed = false;
  const ProductManifest m = Parse(bytes, &parsed);
  EXPECT_TRUE(parsed);
  EXPECT_EQ(m.productId, L"PK280FR");
  EXPECT_EQ(m.packageName, L"PictovaKest.msi");
}

TEST(ParseManifest, ShippedManifest) {
  InstallConfig config;
  config.manifestPath = SourcePath("config/manifestKest.xml").wstring();
  ProductManifest m;
  ASSERT_TRUE(config.ParseManifest(m));
  EXPECT_FALSE(m.productId.empty());
  EXPECT_FALSE(m.registryKey.empty());
  EXPECT_EQ(m.packageName, L"PictovaKest.msi");
  EXPECT_TRUE(m.packageAddress.starts_with(L"http://127.0.0.1:"));
  EXPECT_FALSE(m.transforms.empty());
  EXPECT_FALSE(m.languagePacks.empty());
  ASSERT_FALSE(m.prerequisites.empty());
  EXPECT_TRUE(m.prerequisites[0].name.ends_with(L".msi"));
  EXPECT_EQ(m.standalone, 0);
}

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
  WriteLocal(Good());
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
      {"no pid", reg + kMain},
      {"empty pid", "<pid></pid>" + reg + kMain},
      {"no registry", "<pid>PK280EN</pid>" + kMain},
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
    return Manifest(head + kMain + "<dependency><name>" + name + "</name></dependency>");
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
  }
  // Nothing was written outside the executable's folder.
  EXPECT_FALSE(fs::exists(exe_.parent_path() / "evil.msi"));
}

TEST_F(LoadManifestTest, OverrideReplacesTheWholeModel) {
  WriteLocal(Good("PK280EN"));
  const fs::path other =
      WriteOther(Manifest("<pid>PK280DE</pid><registry>SOFTWARE\\KestTests\\Other</registry>" +
                          kMain));  // no dependency
  SetOverride(other.wstring());
  ASSERT_EQ(Load(), ManifestLoadResult::kLoaded);
  EXPECT_EQ(config_.manifestPath, other.wstring());
  EXPECT_EQ(config_.manifest.productId, L"PK280DE");
  EXPECT_EQ(config_.manifest.shortName, L"");  // not kept from the local manifest
  EXPECT_TRUE(config_.manifest.prerequisites.empty());
  EXPECT_EQ(config_.languages[0].languageId, 1031);
}

TEST_F(LoadManifestTest, OverrideToMissingFileIsIgnored) {
  WriteLocal(Good("PK280EN"));
  SetOverride((exe_ / "nowhere.xml").wstring());
  ASSERT_EQ(Load(), ManifestLoadResult::kLoaded);
  EXPECT_EQ(config_.manifest.productId, L"PK280EN");
  EXPECT_EQ(config_.manifestPath, exe_.wstring() + L"\\config\\manifestKest.xml");
}

TEST_F(LoadManifestTest, OverrideThatFailsToParseFailsTheLoad) {
  WriteLocal(Good("PK280EN"));
  SetOverride(WriteOther("<qorwebinstaller><product>").wstring());
  EXPECT_EQ(Load(), ManifestLoadResult::kManifestUnusable);
  EXPECT_EQ(config_.manifest.productId, L"PK280EN");  // the first file's content stays
}

TEST_F(LoadManifestTest, OverrideWithoutPidFailsTheLoad) {
  WriteLocal(Good("PK280EN"));
  SetOverride(WriteOther(Manifest("<registry>SOFTWARE\\KestTests\\Other</registry>" + kMain))
                  .wstring());
  EXPECT_EQ(Load(), ManifestLoadResult::kManifestUnusable);
  EXPECT_EQ(config_.manifest.productId, L"");
}

TEST_F(LoadManifestTest, StandaloneManifestIsNeverOverridden) {
  WriteLocal(Manifest("<pid>PK280EN</pid><registry>SOFTWARE\\KestTests\\Manifest</registry>"
                      "<standalone>True</standalone>" +
                      kMain));
  SetOverride(WriteOther(Good("PK280DE")).wstring());
  ASSERT_EQ(Load(), ManifestLoadResult::kLoaded);
  EXPECT_EQ(config_.manifest.productId, L"PK280EN");
  EXPECT_EQ(config_.manifest.standalone, 1);
  EXPECT_FALSE(fs::exists(exe_ / "component"));
}

TEST_F(LoadManifestTest, FoldersThatCannotBeMadeGiveTwo) {
  WriteLocal(Good());
  ASSERT_TRUE(WriteFileBytes(exe_ / "msi", "a file where the folder belongs"));
  // The file blocks the folder; SHCreateDirectory cannot create "msi\" over it.
  EXPECT_EQ(Load(), ManifestLoadResult::kFoldersNotPrepared);
}

}  // namespace
