// The registry values a fresh installation leaves, and the running-application check.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/RunOptions.h"
#include "config/InstallConfig.h"
#include "config/UiText.h"
#include "engine/InstallEngine.h"
#include "engine/MessageBoxSeam.h"
#include "engine/RunningApplications.h"
#include "tests/engine/EngineRunSupport.h"
#include "ui/framework/UniqueHandle.h"

namespace {

using namespace kest::test;

struct PostInstallCase {
  const char* name;
  const wchar_t* folder;
  const wchar_t* executable;
  std::uint32_t language;
  int multiLanguage, productInstalled;
  const wchar_t* installDir;  // null: not written
  const wchar_t* exe;
  DWORD languageValue;  // 0xFFFFFFFF: not written
};

class PostInstall : public ::testing::TestWithParam<PostInstallCase> {
 protected:
  void TearDown() override {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kKey);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\QOR Systems\\ResourceLangID");
  }
  static constexpr const wchar_t* kKey = L"SOFTWARE\\KestTests\\PostInstall";
};

TEST_P(PostInstall, WritesWhatAFreshInstallationNeeds) {
  const auto& c = GetParam();
  RunOptions() = InstallOptions{};
  RunOptions().productInstalled = c.productInstalled;
  Configuration() = InstallConfig{};
  Configuration().installFolder = c.folder;
  Configuration().manifest.executable = c.executable;
  Configuration().manifest.registryKey = kKey;
  Configuration().multiLanguage = c.multiLanguage;
  Configuration().uiStrings.currentLanguage = c.language;
  ApplyPostInstallSettings();

  EXPECT_EQ(ReadMachineString(kKey, L"InstallDir"), c.installDir ? c.installDir : L"<missing>");
  EXPECT_EQ(ReadMachineString(kKey, L"exe"), c.exe ? c.exe : L"<missing>");
  EXPECT_EQ(
      ReadDword(HKEY_LOCAL_MACHINE, std::wstring(kKey) + L"\\LanguagePacks", L"InitialLangID"),
      c.languageValue);
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kKey, L"ApplicationLanguage"), c.languageValue);
  if (c.installDir && c.languageValue != 0xFFFFFFFF) {
    EXPECT_EQ(ReadUserString(L"SOFTWARE\\QOR Systems\\ResourceLangID",
                             (std::wstring(c.installDir) + L"qorBeacon2.exe").c_str()),
              std::to_wstring(c.languageValue));
  }
  if (!c.productInstalled) {
    EXPECT_TRUE(Configuration().installFolder.empty() ||
                Configuration().installFolder.back() != L'\\');
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PostInstall,
    ::testing::Values(
        PostInstallCase{"Example", L"C:\\Apps\\App\\", L"bin\\App.exe", 1031, 1, 0,
                        L"C:\\Apps\\App\\bin\\", L"C:\\Apps\\App\\bin\\App.exe", 1031},
        PostInstallCase{"NoTrailingBackslash", L"C:\\Apps\\App", L"bin\\App.exe", 1031, 1, 0,
                        L"C:\\Apps\\App\\bin\\", L"C:\\Apps\\App\\bin\\App.exe", 1031},
        PostInstallCase{"EnglishWritesNoLanguage", L"C:\\Apps\\App\\", L"App.exe", 1033, 1, 0,
                        L"C:\\Apps\\App\\", L"C:\\Apps\\App\\App.exe", 0xFFFFFFFF},
        PostInstallCase{"SingleLanguageEdition", L"C:\\Apps\\App", L"App.exe", 1036, 0, 0,
                        L"C:\\Apps\\App\\", L"C:\\Apps\\App\\App.exe", 0xFFFFFFFF},
        PostInstallCase{"UpdateWritesNothing", L"C:\\Apps\\App\\", L"App.exe", 1031, 1, 1, nullptr,
                        nullptr, 0xFFFFFFFF}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunningApplications, AsksUntilClosedOrGivenUp) {
  const std::vector<WatchedApplication> table{{L"KestTestRunningA", L"Kest A"},
                                              {L"KestTestRunningB", L"Kest B"}};
  {
    BoxRecorder boxes;
    EXPECT_EQ(CheckRunningApplications(L"Pictova Kest", nullptr, table), 1);
    EXPECT_TRUE(boxes.Boxes().empty());
  }
  fw::UniqueHandle running(::CreateSemaphoreW(nullptr, 0, 1, L"KestTestRunningB"));
  {
    BoxRecorder boxes(IDCANCEL);
    EXPECT_EQ(CheckRunningApplications(L"Pictova Kest", nullptr, table), 0);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, UiText(IDS_CLOSE_RUNNING_APPS) + L"\n\nKest B\r\n");
    EXPECT_EQ(boxes.Boxes()[0].caption, L"Pictova Kest");
    EXPECT_EQ(boxes.Boxes()[0].style, static_cast<UINT>(MB_RETRYCANCEL | MB_ICONWARNING));
  }
  {
    // Retry after the application has been closed: no second question.
    int asked = 0;
    SetEngineMessageBoxHandler([&](HWND, const std::wstring&, const std::wstring&, UINT) {
      ++asked;
      running.Reset();
      return IDRETRY;
    });
    EXPECT_EQ(CheckRunningApplications(L"Pictova Kest", nullptr, table), 1);
    SetEngineMessageBoxHandler(nullptr);
    EXPECT_EQ(asked, 1);
  }
}

}  // namespace
