// Reading the install manifest: the format, its order rules and the document-level cases.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config/InstallConfig.h"
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
  m = Parse(Manifest("<language_pack><lang_id>1031</lang_id></language_pack>" + kMainComponent));
  EXPECT_TRUE(m.languagePacks.empty());
  EXPECT_EQ(m.packageName, L"PictovaKest.msi");

  // Language packs before the last product value that was read are not seen either.
  m =
      Parse(Manifest("<language_pack><lang_id>1031</lang_id></language_pack>"
                     "<pid>PK280EN</pid>"));
  EXPECT_TRUE(m.languagePacks.empty());

  // A dependency before a language pack is not seen.
  m = Parse(Manifest(kMainComponent + "<dependency><name>a.exe</name></dependency>"
                                      "<language_pack><lang_id>1031</lang_id></language_pack>"));
  EXPECT_EQ(m.languagePacks.size(), 1u);
  EXPECT_TRUE(m.prerequisites.empty());

  // main_component without a name: nothing of it is read, what follows it still is.
  m =
      Parse(Manifest("<main_component><full_url>http://x/a.msi</full_url>"
                     "<transform><lang_id>1031</lang_id></transform></main_component>"
                     "<language_pack><lang_id>1036</lang_id></language_pack>"));
  EXPECT_EQ(m.packageAddress, L"");
  EXPECT_TRUE(m.transforms.empty());
  EXPECT_EQ(m.languagePacks.size(), 1u);

  // full_url before executable inside main_component: the address is missed.
  m =
      Parse(Manifest("<main_component><name>a.msi</name><full_url>http://x/a.msi</full_url>"
                     "<executable>a.exe</executable></main_component>"));
  EXPECT_EQ(m.executable, L"a.exe");
  EXPECT_EQ(m.packageAddress, L"");
}

TEST(ParseManifest, StandaloneSpellings) {
  struct Case {
    const char* element;
    int standalone;
  } cases[] = {
      {"<standalone>true</standalone>", 1},
      {"<standalone>TRUE</standalone>", 1},
      {"<standalone>tRuE</standalone>", 1},
      {"<standalone> true</standalone>", 0},
      {"<standalone>true </standalone>", 0},
      {"<standalone>yes</standalone>", 0},
      {"<standalone>1</standalone>", 0},
      {"<standalone/>", 0},
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

  m = Parse(
      "<qorwebinstaller><web_installer_version>2.0.0.0</web_installer_version>"
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
  const std::string utf8 = GoodManifest("PK280FR");
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

}  // namespace
