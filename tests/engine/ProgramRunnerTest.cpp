// Prerequisites run for real: a program (waited for, its command line intact even in a folder
// with blanks) and a package through msiexec.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/ProgramRunner.h"
#include "tests/support/TestPaths.h"
#include "ui/framework/UniqueHandle.h"

namespace {

using kest::test::BinaryPath;
using kest::test::ScratchFolder;

std::wstring ReadMachineString(const wchar_t* key, const wchar_t* name) {
  wchar_t value[512] = {};
  DWORD size = sizeof(value);
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return L"<missing>";
  return value;
}

TEST(RunProgram, RunsAProgramInAFolderWithBlanksAndWaitsForIt) {
  const auto folder = ScratchFolder("program runner") / "with blanks";
  std::filesystem::create_directories(folder);
  const auto program = folder / "1234_vc_redist.exe";
  std::filesystem::copy_file(BinaryPath("tests/marker_probe.exe"), program);

  InstallItem item;
  item.localPath = program.wstring();
  item.commandLine = L"/install /quiet";
  item.kind = Program;
  EXPECT_EQ(RunProgram(item), 1);
  // Waited for: the marker is complete when RunProgram returns.
  const std::string marker = kest::test::ReadFileBytes(program.wstring() + L".cmdline");
  const std::wstring commandLine(reinterpret_cast<const wchar_t*>(marker.data()),
                                 marker.size() / 2);
  EXPECT_EQ(commandLine, L"\"" + program.wstring() + L"\" /install /quiet");
}

TEST(RunProgram, MissingProgramIsNotStarted) {
  InstallItem item;
  item.localPath = (ScratchFolder("program runner") / "absent.exe").wstring();
  EXPECT_EQ(RunProgram(item), 0);
}

TEST(RunProgram, PackageGoesThroughMsiexec) {
  const auto folder = ScratchFolder("msiexec runner");
  const auto package = folder / "bonjour.MSI";  // the extension matches in any case
  std::filesystem::copy_file(BinaryPath("tests/engine/packages/KestPrerequisite.msi"), package);
  ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\KestTests\\Prerequisite");

  InstallItem item;
  item.localPath = package.wstring();
  item.commandLine = L"MARKER=yes /qn";
  item.kind = Program;
  EXPECT_EQ(RunProgram(item), 1);
  EXPECT_EQ(ReadMachineString(L"Software\\KestTests\\Prerequisite", L"Installed"), L"yes");

  std::wstring uninstall = L"msiexec /x \"" + package.wstring() + L"\" /qn";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (::CreateProcessW(nullptr, uninstall.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
    ::WaitForSingleObject(process.hProcess, 60000);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
  }
}

}  // namespace
