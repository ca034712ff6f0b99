// The version document's reader and the version decision.
#include "update/VersionDocument.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestPaths.h"

namespace {

std::wstring WriteDocument(const std::string& text) {
  const auto path = kest::test::ScratchFolder("version-doc") / "version.xml";
  EXPECT_TRUE(kest::test::WriteFileBytes(path, text));
  return path.wstring();
}

TEST(VersionDocument, ReadsBothReleasesInDocumentOrder) {
  ProductManifest model;
  model.standaloneVersion = L"1.0.0.1";
  const auto path = WriteDocument(
      "<?xml version=\"1.0\"?>\n<qorwebinstaller>\n"
      "  <product_code>{ABC}</product_code><note>skipped</note>\n"
      "  <fresh_install><product_version>28.0.0.100</product_version>\n"
      "    <min_web_installer_version>1.0.0.5</min_web_installer_version>\n"
      "    <web_installer_download_url> http://127.0.0.1/new.exe </web_installer_download_url>\n"
      "  </fresh_install>\n"
      "  <patch_install><product_version>28.0.1.101</product_version>\n"
      "    <min_web_installer_version>1.0.0.6</min_web_installer_version>\n"
      "  </patch_install>\n</qorwebinstaller>\n");
  ASSERT_TRUE(ReadVersionDocument(path, model));
  EXPECT_EQ(model.serverProductCode, L"{ABC}");
  EXPECT_EQ(model.freshRelease.productVersion, L"28.0.0.100");
  EXPECT_EQ(model.freshRelease.minimumInstallerVersion, L"1.0.0.5");
  EXPECT_EQ(model.freshRelease.installerAddress, L" http://127.0.0.1/new.exe ");  // untrimmed
  EXPECT_EQ(model.patchRelease.productVersion, L"28.0.1.101");
  EXPECT_EQ(model.patchRelease.minimumInstallerVersion, L"1.0.0.6");
  EXPECT_EQ(model.patchRelease.installerAddress, L"");
  EXPECT_EQ(model.standaloneVersion, L"28.0.1.101");
}

TEST(VersionDocument, ElementsBeforeTheReadPointAreNotFound) {
  ProductManifest model;
  model.standaloneVersion = L"kept";
  ASSERT_TRUE(ReadVersionDocument(
      WriteDocument("<qorwebinstaller>"
                    "<patch_install><product_version>9.9.9.9</product_version></patch_install>"
                    "<fresh_install><product_version>1.1.1.1</product_version></fresh_install>"
                    "</qorwebinstaller>"),
      model));
  EXPECT_EQ(model.freshRelease.productVersion, L"1.1.1.1");
  EXPECT_EQ(model.patchRelease.productVersion, L"");  // came before fresh_install
  EXPECT_EQ(model.standaloneVersion, L"kept");

  // The product code is looked for first; the releases must follow it.
  ProductManifest late;
  ASSERT_TRUE(ReadVersionDocument(
      WriteDocument("<qorwebinstaller>"
                    "<fresh_install><product_version>1.1.1.1</product_version></fresh_install>"
                    "<product_code>late</product_code></qorwebinstaller>"),
      late));
  EXPECT_EQ(late.serverProductCode, L"late");
  EXPECT_EQ(late.freshRelease.productVersion, L"");
}

TEST(VersionDocument, UnreadableDocumentsFailOtherRootsDoNot) {
  ProductManifest model;
  EXPECT_FALSE(ReadVersionDocument(L"", model));
  EXPECT_FALSE(ReadVersionDocument(
      (kest::test::ScratchFolder("version-doc") / "missing.xml").wstring(), model));
  EXPECT_FALSE(ReadVersionDocument(WriteDocument(""), model));
  EXPECT_FALSE(ReadVersionDocument(WriteDocument("<html><body>404</body>"), model));
  EXPECT_TRUE(ReadVersionDocument(WriteDocument("<html><body>Not found</body></html>"), model));
  EXPECT_EQ(model.freshRelease.productVersion, L"");
}

struct DecisionCase {
  const char* name;
  bool installed;
  const wchar_t* installedVersion;
  bool standalone;
  const wchar_t* offered;  // standalone version (the patch release's product version)
  const wchar_t* own;
  const wchar_t* freshMinimum;
  const wchar_t* patchMinimum;
  int expected;
};

class Decision : public ::testing::TestWithParam<DecisionCase> {};

TEST_P(Decision, Table) {
  const auto& c = GetParam();
  VersionCheckInputs in;
  in.productInstalled = c.installed;
  in.installedVersion = c.installedVersion;
  in.standalone = c.standalone;
  in.standaloneVersion = c.offered;
  in.installerVersion = c.own;
  in.freshMinimum = c.freshMinimum;
  in.patchMinimum = c.patchMinimum;
  EXPECT_EQ(CheckVersions(in), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, Decision,
    ::testing::Values(
        DecisionCase{"FreshFourthHigher", false, L"", false, L"", L"5.1.0.100", L"5.1.0.200", L"",
                     2},
        DecisionCase{"FreshMajorHigher", false, L"", false, L"", L"5.1.0.100", L"6.0.0.1", L"", 2},
        DecisionCase{"FreshMinorLower", false, L"", false, L"", L"5.1.0.100", L"5.0.0.999", L"", 0},
        DecisionCase{"FreshMinorHigherFourthLower", false, L"", false, L"", L"5.1.0.100",
                     L"5.2.0.50", L"", 0},
        DecisionCase{"FreshThreePartsIsZero", false, L"", false, L"", L"5.1.0.100", L"1.0.0", L"",
                     0},
        DecisionCase{"FreshShortIsZero", false, L"", false, L"", L"5.1.0.100", L"1.2", L"", 0},
        DecisionCase{"FreshStandalone", false, L"", true, L"", L"5.1.0.100", L"9.0.0.1", L"", 0},
        DecisionCase{"PatchApplies", true, L"5.1.0.100", false, L"5.1.3.101", L"5.1.0.100", L"",
                     L"", 0},
        DecisionCase{"PatchMinorLower", true, L"5.1.0.100", false, L"5.0.0.200", L"5.1.0.100", L"",
                     L"", 1},
        DecisionCase{"PatchMajorDiffers", true, L"5.1.0.100", false, L"6.0.0.1", L"5.1.0.100", L"",
                     L"", 1},
        DecisionCase{"PatchMinimumMajorHigherIsNotTooOld", true, L"5.1.0.100", false, L"5.1.3.101",
                     L"5.1.0.100", L"", L"6.0.0.1", 0},
        DecisionCase{"PatchInstallerTooOld", true, L"5.1.0.100", false, L"5.1.3.101", L"5.1.0.100",
                     L"", L"5.1.0.101", 2},
        DecisionCase{"PatchStandaloneSkipsTheMinimum", true, L"5.1.0.100", true, L"5.1.3.101",
                     L"5.1.0.100", L"", L"5.1.0.101", 0},
        DecisionCase{"InstalledVersionEmpty", true, L"", false, L"5.1.3.101", L"5.1.0.100", L"",
                     L"", 3}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
