// The unelevated launch asks the desktop shell to start the program. Where no desktop view can
// be found (as under Wine) it must return quietly; where the shell takes the request, the
// program runs.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/UnelevatedLaunch.h"
#include "tests/support/TestPaths.h"

namespace {

TEST(LaunchUnelevated, ReturnsQuietlyOrStartsTheProgram) {
  const auto program = kest::test::ScratchFolder("unelevated") / "Kest.exe";
  std::filesystem::copy_file(kest::test::BinaryPath("tests/marker_probe.exe"), program);
  const HRESULT com = ::CoInitialize(nullptr);
  const bool accepted = LaunchUnelevated(program.wstring());
  if (SUCCEEDED(com)) ::CoUninitialize();
  if (accepted) {
    EXPECT_FALSE(kest::test::WaitForMarker(program).empty());
  } else {
    EXPECT_TRUE(kest::test::WaitForMarker(program, 500).empty());
  }
}

TEST(LaunchUnelevated, WithoutComItFailsQuietly) {
  EXPECT_FALSE(LaunchUnelevated(L"C:\\nowhere\\Kest.exe"));
}

}  // namespace
