// The real installer executable under Wine: one instance at a time, and the relaunch of a
// downloaded installer at exit.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/Relaunch.h"
#include "res/resource.h"
#include "tests/support/TestPaths.h"
#include "ui/framework/UniqueHandle.h"

namespace {

using kest::test::BinaryPath;
using kest::test::ScratchFolder;

fw::UniqueHandle StartProcess(const std::filesystem::path& exe, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + exe.wstring() + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(exe.wstring().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process))
    return {};
  ::CloseHandle(process.hThread);
  return fw::UniqueHandle(process.hProcess);
}

HWND WaitForWizard(DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
    if (HWND window = ::FindWindowW(KEST_WIZARD_CLASS_NAME, nullptr)) return window;
    ::Sleep(100);
  }
  return nullptr;
}

int CountWizards() {
  int count = 0;
  ::EnumWindows(
      [](HWND window, LPARAM counter) -> BOOL {
        wchar_t name[64] = {};
        ::GetClassNameW(window, name, 64);
        if (std::wstring(name) == KEST_WIZARD_CLASS_NAME) ++*reinterpret_cast<int*>(counter);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

// The installer as it is shipped: the executable with its configuration and string files.
std::filesystem::path InstallerBesideShippedConfiguration(std::string_view hint) {
  const auto folder = ScratchFolder(hint);
  const auto exe = folder / "KestWebInstaller.exe";
  std::filesystem::copy_file(BinaryPath("app/KestWebInstaller.exe"), exe);
  std::filesystem::create_directories(folder / "config");
  std::filesystem::copy_file(kest::test::SourcePath("config/manifestKest.xml"),
                             folder / "config" / "manifestKest.xml");
  std::filesystem::copy(kest::test::SourcePath("language"), folder / "language",
                        std::filesystem::copy_options::recursive);
  return exe;
}

TEST(Startup, SecondInstanceEndsAtOnceWithoutASecondWindow) {
  const auto exe = InstallerBesideShippedConfiguration("second instance");
  fw::UniqueHandle first = StartProcess(exe, L"/n");
  ASSERT_TRUE(first);
  HWND wizard = WaitForWizard(30000);
  ASSERT_NE(wizard, nullptr) << "the first installer never showed its window";

  fw::UniqueHandle second = StartProcess(exe, L"/n");
  ASSERT_TRUE(second);
  ASSERT_EQ(::WaitForSingleObject(second.Get(), 20000), WAIT_OBJECT_0);
  DWORD code = 1;
  ::GetExitCodeProcess(second.Get(), &code);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(CountWizards(), 1);
  EXPECT_EQ(::WaitForSingleObject(first.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

  ::PostMessageW(wizard, WM_CLOSE, 0, 0);
  EXPECT_EQ(::WaitForSingleObject(first.Get(), 20000), WAIT_OBJECT_0);
}

// Beside the shipped configuration the manifest loads: the wizard carries the product's full
// name and the download folders exist.
TEST(Startup, LoadsTheShippedManifestBesideTheExecutable) {
  const auto exe = InstallerBesideShippedConfiguration("shipped config");
  const auto folder = exe.parent_path();

  fw::UniqueHandle installer = StartProcess(exe, L"/n");
  ASSERT_TRUE(installer);
  HWND wizard = WaitForWizard(30000);
  ASSERT_NE(wizard, nullptr);
  // The window exists a moment before its initialisation has named it.
  wchar_t title[128] = {};
  for (int i = 0; i < 200 && !title[0]; ++i) {
    ::GetWindowTextW(wizard, title, 128);
    if (!title[0]) ::Sleep(50);
  }
  EXPECT_STREQ(title, L"Pictova Kest");
  for (const char* sub : {"component", "msi", "transform"})
    EXPECT_TRUE(std::filesystem::is_directory(folder / sub)) << sub;
  ::PostMessageW(wizard, WM_CLOSE, 0, 0);
  EXPECT_EQ(::WaitForSingleObject(installer.Get(), 20000), WAIT_OBJECT_0);
}

// Without a usable manifest the run ends with a message instead of a wizard that cannot work.
TEST(Startup, ManifestThatDoesNotLoadEndsTheRunWithAMessage) {
  const auto folder = ScratchFolder("no manifest");
  const auto exe = folder / "KestWebInstaller.exe";
  std::filesystem::copy_file(BinaryPath("app/KestWebInstaller.exe"), exe);
  fw::UniqueHandle installer = StartProcess(exe, L"/n");
  ASSERT_TRUE(installer);
  HWND box = nullptr;
  for (int i = 0; i < 300 && !box; ++i) {
    box = ::FindWindowW(L"#32770", L"Pictova Kest");
    if (!box) ::Sleep(100);
  }
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(::FindWindowW(KEST_WIZARD_CLASS_NAME, nullptr), nullptr);
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(::WaitForSingleObject(installer.Get(), 20000), WAIT_OBJECT_0);
  EXPECT_EQ(::FindWindowW(KEST_WIZARD_CLASS_NAME, nullptr), nullptr);
}

TEST(Relaunch, StartsTheDownloadedInstallerWithNoValidationSwitch) {
  const auto folder = ScratchFolder("relaunch");
  const auto probe = folder / "Pictova Kest Installer.exe";
  std::filesystem::copy_file(BinaryPath("tests/marker_probe.exe"), probe);

  EXPECT_EQ(RelaunchDownloadedInstaller(2, probe.wstring()), RelaunchOutcome::Started);

  const std::wstring commandLine = kest::test::WaitForMarker(probe);
  EXPECT_NE(commandLine.find(L" /n"), std::wstring::npos) << "no /n in the probe's command line";
}

TEST(Relaunch, DoesNothingUnlessAskedForAnExistingFile) {
  const auto folder = ScratchFolder("relaunch-none");
  const std::wstring vanished = (folder / "gone.exe").wstring();
  EXPECT_EQ(RelaunchDownloadedInstaller(2, vanished), RelaunchOutcome::FileMissing);
  EXPECT_EQ(RelaunchDownloadedInstaller(2, L""), RelaunchOutcome::NotRequested);
  EXPECT_EQ(RelaunchDownloadedInstaller(0, vanished), RelaunchOutcome::NotRequested);
  EXPECT_EQ(RelaunchDownloadedInstaller(1, vanished), RelaunchOutcome::NotRequested);
}

}  // namespace
