#include "app/SwitchTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
  const char* name;
  std::vector<std::wstring> args;  // index 0 is the program path
  int silent, noValidation, launch;
  std::wstring language, properties;
};

std::string Narrow(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s.push_back(static_cast<char>(c));
  return s;
}

class SwitchWalk : public ::testing::TestWithParam<Case> {};

TEST_P(SwitchWalk, FillsOptions) {
  const Case& c = GetParam();
  std::vector<std::string> narrow;
  for (const auto& a : c.args) narrow.push_back(Narrow(a));
  InstallOptions options;
  ApplySwitches(SwitchTable(), c.args, narrow, options);
  EXPECT_EQ(options.silent, c.silent);
  EXPECT_EQ(options.noValidation, c.noValidation);
  EXPECT_EQ(options.launchAfterInstall, c.launch);
  EXPECT_EQ(options.languageArgument, c.language);
  EXPECT_EQ(options.installerProperties, c.properties);
  EXPECT_EQ(options.productInstalled, 0);
}

const wchar_t* kExe = L"C:\\dl\\KestWebInstaller.exe";

INSTANTIATE_TEST_SUITE_P(
    Table, SwitchWalk,
    ::testing::Values(
        Case{"NoArguments", {kExe}, 0, 0, 0, L"", L""},
        Case{"Flags", {kExe, L"/s", L"/n", L"/l"}, 1, 1, 1, L"", L""},
        Case{"FlagIgnoresItsValue", {kExe, L"/s", L"1031"}, 1, 0, 0, L"", L""},
        Case{"LanguageValue", {kExe, L"/lang", L"1031"}, 0, 0, 0, L"1031", L""},
        Case{"LanguageLastGivesEmpty", {kExe, L"/lang"}, 0, 0, 0, L"", L""},
        Case{"BackslashValueIsEmptyAndIgnored", {kExe, L"/lang", L"\\x"}, 0, 0, 0, L"", L""},
        Case{"SlashValueIsTaken", {kExe, L"/v", L"/quiet"}, 0, 0, 0, L"", L"/quiet"},
        Case{"ValueIsAlsoLookedUp", {kExe, L"/lang", L"/s"}, 1, 0, 0, L"/s", L""},
        Case{"CapitalsAreNotSwitches", {kExe, L"/LANG", L"1036", L"/S"}, 0, 0, 0, L"", L""},
        Case{"AttachedTextIsNotASwitch", {kExe, L"/lang=1036", L"/s1"}, 0, 0, 0, L"", L""},
        Case{"LaterValueReplaces",
             {kExe, L"/lang", L"1031", L"/lang", L"1036"},
             0,
             0,
             0,
             L"1036",
             L""},
        Case{"LaterEmptyValueReplaces", {kExe, L"/v", L"A=1", L"/v"}, 0, 0, 0, L"", L""},
        Case{"EmptyArgumentIsNoValue", {kExe, L"/lang", L"", L"/s"}, 1, 0, 0, L"", L""},
        Case{"PropertiesKeptWhole",
             {kExe, L"/v", L"INSTALLDIR=\"C:\\P K\" X=1"},
             0,
             0,
             0,
             L"",
             L"INSTALLDIR=\"C:\\P K\" X=1"},
        Case{"ProgramPathIsLookedUpToo", {L"/s"}, 1, 0, 0, L"", L""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
