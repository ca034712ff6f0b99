// Installed-product detection against a real product: a small package built with wixl is
// installed into the Wine prefix through Windows Installer, detected, and removed at the end.
#include <windows.h>

#include <msi.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/RunOptions.h"
#include "config/InstallConfig.h"
#include "config/InstalledProduct.h"
#include "config/RegistryKey.h"
#include "tests/support/TestPaths.h"

namespace {

constexpr wchar_t kProbeCode[] = L"{6F1D5A3C-7B2E-4C1A-9E51-2D8B4F0A7C61}";
constexpr wchar_t kAbsentCode[] = L"{0D5F3C2A-1111-4222-8333-944455566677}";

void Uninstall() {
  ::MsiConfigureProductW(kProbeCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
}

class ProductDetectionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    std::wstring version;
    if (QueryInstalledVersion(kProbeCode, version) == ERROR_SUCCESS) Uninstall();
    const std::wstring package = kest::test::BinaryPath("tests/config/KestDetectProbe.msi");
    installResult_ = ::MsiInstallProductW(package.c_str(), L"");
  }
  static void TearDownTestSuite() {
    Uninstall();
    std::wstring version;
    if (QueryInstalledVersion(kProbeCode, version) != ERROR_UNKNOWN_PRODUCT)
      ADD_FAILURE() << "the probe package is still installed";
  }

  void SetUp() override {
    ASSERT_EQ(installResult_, ERROR_SUCCESS) << "the probe package did not install";
    productKey_ = L"Software\\KestTests\\Detect-" + std::to_wstring(::GetCurrentProcessId());
    config_.manifest.productCode = kProbeCode;
    config_.manifest.registryKey = productKey_;
    RunOptions().productInstalled = 0;
  }
  void TearDown() override { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, productKey_.c_str()); }

  void SetInitialLanguage(DWORD language) {
    RegistryKey key(HKEY_LOCAL_MACHINE, productKey_ + L"\\LanguagePacks");
    ASSERT_EQ(::RegSetValueExW(key.ReadHandle(), L"InitialLangID", 0, REG_DWORD,
                               reinterpret_cast<const BYTE*>(&language), sizeof(language)),
              ERROR_SUCCESS);
  }

  static inline UINT installResult_ = ERROR_SUCCESS;
  std::wstring productKey_;
  InstallConfig config_;
};

TEST_F(ProductDetectionTest, VersionOfInstalledProduct) {
  std::wstring version;
  EXPECT_EQ(QueryInstalledVersion(kProbeCode, version), static_cast<std::uint32_t>(ERROR_SUCCESS));
  EXPECT_EQ(version, L"28.0.5.101");
  EXPECT_EQ(GetInstalledProductInfo(kProbeCode).version, L"28.0.5.101");
}

TEST_F(ProductDetectionTest, UnknownProductIsSilentlyNotInstalled) {
  std::wstring version = L"stale";
  EXPECT_EQ(QueryInstalledVersion(kAbsentCode, version), 1605u);
  EXPECT_TRUE(version.empty());
  EXPECT_TRUE(GetInstalledProductInfo(kAbsentCode).version.empty());  // no message box

  config_.manifest.productCode = kAbsentCode;
  config_.uiStrings.currentLanguage = 1031;
  SetInitialLanguage(1036);
  config_.DetectInstalledProduct();
  EXPECT_EQ(RunOptions().productInstalled, 0);
  EXPECT_TRUE(config_.installedProduct.version.empty());
  EXPECT_EQ(config_.uiStrings.currentLanguage, 1031u);
}

TEST_F(ProductDetectionTest, MalformedProductCodeIsAnError) {
  std::wstring version = L"stale";
  EXPECT_NE(QueryInstalledVersion(L"not-a-product-code", version), 1605u);
  EXPECT_TRUE(version.empty());
}

TEST_F(ProductDetectionTest, OtherErrorsAreShownOnceInAMessageBox) {
  Configuration().manifest.shortName = L"Kest Probe";
  std::wstring shown;
  std::atomic<bool> done{false};
  // Reads the box's text and presses OK, as a user would.
  std::thread user([&] {
    for (int i = 0; i < 200 && !done; ++i) {
      if (HWND box = ::FindWindowW(L"#32770", L"Kest Probe")) {
        wchar_t text[256] = {};
        ::GetDlgItemTextW(box, 0xFFFF, text, 256);
        shown = text;
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        return;
      }
      ::Sleep(50);
    }
  });
  const InstalledProductInfo info = GetInstalledProductInfo(L"not-a-product-code");
  done = true;
  user.join();
  EXPECT_TRUE(info.version.empty());
  std::wstring version;
  const std::uint32_t error = QueryInstalledVersion(L"not-a-product-code", version);
  EXPECT_EQ(shown, L"Failed to get installed product info, error code: " + std::to_wstring(error));
  Configuration().manifest.shortName.clear();
}

TEST_F(ProductDetectionTest, InstalledLanguageOverridesTheChoice) {
  struct Case {
    const char* what;
    bool writeValue;
    DWORD initial;
    std::uint32_t chosen;
    std::uint32_t expected;
  } cases[] = {
      {"recorded 1036 beats /lang 1031", true, 1036, 1031, 1036},
      {"recorded 1033 keeps the choice", true, 1033, 1031, 1031},
      {"recorded language need not be listed", true, 2052, 1033, 2052},
      {"no value keeps the choice", false, 0, 1040, 1040},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, productKey_.c_str());
    if (c.writeValue) SetInitialLanguage(c.initial);
    RunOptions().productInstalled = 0;
    config_.uiStrings.currentLanguage = c.chosen;
    config_.DetectInstalledProduct();
    EXPECT_EQ(RunOptions().productInstalled, 1);
    EXPECT_EQ(config_.installedProduct.version, L"28.0.5.101");
    EXPECT_EQ(config_.uiStrings.currentLanguage, c.expected);
  }
}

TEST_F(ProductDetectionTest, DetectionCreatesTheProductKey) {
  const std::wstring packs = productKey_ + L"\\LanguagePacks";
  HKEY key = nullptr;
  ASSERT_NE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, packs.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  config_.DetectInstalledProduct();
  ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, packs.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  ::RegCloseKey(key);
}

TEST_F(ProductDetectionTest, InstalledLanguagePacksInRegistryOrder) {
  EXPECT_TRUE(config_.GetInstalledLanguagePacks().empty());
  for (const wchar_t* name : {L"1031", L"1036", L"fr"})
    RegistryKey(HKEY_LOCAL_MACHINE, productKey_ + L"\\LanguagePacks\\" + name);
  EXPECT_EQ(config_.GetInstalledLanguagePacks(), (std::vector<std::int32_t>{1031, 1036, 0}));
}

TEST_F(ProductDetectionTest, InstalledExecutableMustExist) {
  EXPECT_EQ(GetInstalledExecutable(productKey_), L"");
  const auto folder = kest::test::ScratchFolder("installed");
  const auto program = folder / "Kest.exe";
  ASSERT_TRUE(kest::test::WriteFileBytes(program, "MZ"));
  RegistryKey key(HKEY_LOCAL_MACHINE, productKey_);
  ASSERT_EQ(key.SetString(L"exe", program.wstring()), ERROR_SUCCESS);
  EXPECT_EQ(GetInstalledExecutable(productKey_), program.wstring());
  ASSERT_EQ(key.SetString(L"exe", (folder / "Gone.exe").wstring()), ERROR_SUCCESS);
  EXPECT_EQ(GetInstalledExecutable(productKey_), L"");
}

}  // namespace
