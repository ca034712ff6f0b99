// The engine's platform-neutral rules: plan weights, progress messages, log lines, the package
// property text, the overall percentage and the time-remaining text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/InstallPhase.h"
#include "engine/InstallerLogLine.h"
#include "engine/InstallerProgress.h"
#include "engine/NumberTemplate.h"
#include "engine/PackageProperties.h"
#include "engine/PlanWeights.h"
#include "engine/ProgressEstimate.h"

namespace {

using Weights = std::vector<unsigned>;

TEST(PlanWeights, NormaliseToExactly100) {
  const struct {
    Weights in, out;
  } cases[] = {
      {{40, 40, 40, 50, 5, 5}, {22, 22, 22, 27, 2, 5}},
      {{40, 50}, {44, 56}},
      {{50}, {100}},
      {{50, 5}, {90, 10}},
      {{5, 5, 5}, {33, 33, 34}},
      {{}, {}},
      {{0, 0}, {0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(NormaliseWeights(c.in), c.out);
}

TEST(ProgressMessage, ParsesTheFieldsEachTypeNeeds) {
  const struct {
    const wchar_t* text;
    bool ok;
    int type, f2, f3, f4;
  } cases[] = {
      {L"1: 0 2: 1500 3: 0 4: 1 ", true, 0, 1500, 0, 1},
      {L"1: 0 2: 1500 3: 1", true, 0, 1500, 1, 0},
      {L"1: 2 2: 25 3: 0 ", true, 2, 25, 0, 0},  // stops after field 2
      {L"1: 2 2: 25 junk", true, 2, 25, 0, 0},   // what follows field 2 is not read
      {L"1: 1 2: 30 3: 1 4: x", true, 1, 30, 1, 0},
      {L"1: 3 2: 7", true, 3, 7, 0, 0},
      {L"1: 2", true, 2, 0, 0, 0},  // the text ends: act on what was read
      {L"1: 2 2: -5", true, 2, -5, 0, 0},
      {L"1: 2 2: 99999999999999", true, 2, 2147483647, 0, 0},
      {L"1: x 2: 5", false, 0, 0, 0, 0},
      {L"2: 5", false, 0, 0, 0, 0},
      {L"1:2 2: 5", false, 0, 0, 0, 0},
      {L"1: 0 3: 5", false, 0, 0, 0, 0},
      {L"1: 2 2: 5x", false, 0, 0, 0, 0},
      {L"", true, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.text, c.text + wcslen(c.text)));
    const auto m = ParseProgressMessage(c.text);
    ASSERT_EQ(m.has_value(), c.ok);
    if (!m) continue;
    EXPECT_EQ(m->type, c.type);
    EXPECT_EQ(m->field2, c.f2);
    EXPECT_EQ(m->field3, c.f3);
    EXPECT_EQ(m->field4, c.f4);
  }
}

int Feed(InstallerProgress& p, const wchar_t* text) {
  const auto m = ParseProgressMessage(text);
  if (m) p.Apply(*m);
  return p.Reported();
}

TEST(InstallerProgress, ForwardBackwardAndASecondResetNeverGoBack) {
  InstallerProgress p;
  p.StartPackage();
  Feed(p, L"1: 0 2: 200 3: 0 4: 1");
  EXPECT_EQ(Feed(p, L"1: 2 2: 50"), 25);
  EXPECT_EQ(Feed(p, L"1: 1 2: 50 3: 0"), 25);  // action information without ticks
  EXPECT_EQ(Feed(p, L"1: 1 2: 50 3: 1"), 50);
  // A new phase continues from 50 and spreads the other half over its total.
  Feed(p, L"1: 0 2: 100 3: 0");
  EXPECT_EQ(Feed(p, L"1: 2 2: 10"), 55);
  // Backward counting starts at the total.
  Feed(p, L"1: 0 2: 100 3: 1");
  EXPECT_EQ(Feed(p, L"1: 2 2: 50"), 77);     // base 55 + 50% of 45
  EXPECT_EQ(Feed(p, L"1: 2 2: 30"), 77);     // moving back never lowers the percentage
  EXPECT_EQ(Feed(p, L"1: 2 2: -200"), 100);  // overshoot is capped at the item's 100
}

TEST(InstallerProgress, OvershootStaysWithinTheItemAndZeroTotalReportsNothing) {
  InstallerProgress p;
  p.StartPackage();
  EXPECT_FALSE(p.Apply({2, 10, 0, 0}).has_value());  // no total yet
  p.Apply({0, 100, 0, 0});
  EXPECT_EQ(p.Apply({2, 250, 0, 0}), 100);
  p.StartPackage();  // the next package: ticks start over, the percentage carries on
  p.Apply({0, 100, 0, 0});
  EXPECT_EQ(p.Apply({2, 1, 0, 0}), 100);
}

TEST(HomepageLogLine, OnlyTheServerSidePropertyLine) {
  const struct {
    const wchar_t* line;
    const wchar_t* url;  // null: no match
  } cases[] = {
      {L"Property(S): InstallHomepageURL = https://www.example.com/kest",
       L"https://www.example.com/kest"},
      {L"property(s):   installhomepageurl =   X  \r\n", L"X"},
      {L"Property(C): InstallHomepageURL = https://client.example.com", nullptr},
      {L"Property(S): InstallHomepageURL=https://www.example.com", nullptr},
      {L"Property(S): ProductName = Kest", nullptr},
      {L"Property(S):", nullptr},
      {L"Property(S) ", nullptr},
      {L"Property(S): InstallHomepageURL =", L""},
  };
  for (const auto& c : cases) {
    const auto url = ParseHomepageLogLine(c.line);
    ASSERT_EQ(url.has_value(), c.url != nullptr) << std::wstring(c.line).size();
    if (url) {
      EXPECT_EQ(*url, c.url);
    }
  }
}

TEST(PackageProperties, ExamplesAndEdgeCases) {
  PackagePropertyInputs fresh;
  fresh.installFolder = L"C:\\Programs\\App\\";
  fresh.installFolderExists = true;
  fresh.multiLanguage = true;
  fresh.languageId = 1031;
  fresh.transformFolder = L"C:\\dl\\transform\\";
  fresh.associationChoice = 1;
  EXPECT_EQ(BuildPackageProperties(fresh),
            L"INSTALLDIR=\"C:\\Programs\\App\" TRANSFORMS=\"C:\\dl\\transform\\1031.mst\" "
            L"SHELL_INTEGRATION_LEVEL=\"Free\"");

  PackagePropertyInputs update = fresh;
  update.productInstalled = true;
  update.languageId = 1033;
  update.associationChoice = 0;
  EXPECT_EQ(BuildPackageProperties(update),
            L"REINSTALL=ALL REINSTALLMODE=vomus REBOOT=ReallySuppress "
            L"SHELL_INTEGRATION_LEVEL=\"All\"");

  PackagePropertyInputs missingFolder = fresh;
  missingFolder.installFolderExists = false;
  missingFolder.multiLanguage = false;
  missingFolder.associationChoice = 2;
  EXPECT_EQ(BuildPackageProperties(missingFolder), L" SHELL_INTEGRATION_LEVEL=\"None\"");

  PackagePropertyInputs own = fresh;
  own.multiLanguage = false;
  own.installerProperties = L"INSTALLDIR=\"D:\\K\" X=1";
  EXPECT_EQ(BuildPackageProperties(own),
            L" SHELL_INTEGRATION_LEVEL=\"Free\" INSTALLDIR=\"D:\\K\" X=1");
  own.installerProperties = L"installdir=\"D:\\K\"";  // lower case does not count
  EXPECT_EQ(BuildPackageProperties(own),
            L"INSTALLDIR=\"C:\\Programs\\App\" SHELL_INTEGRATION_LEVEL=\"Free\" "
            L"installdir=\"D:\\K\"");

  PackagePropertyInputs unknownChoice = missingFolder;
  unknownChoice.associationChoice = 7;
  EXPECT_EQ(BuildPackageProperties(unknownChoice), L" SHELL_INTEGRATION_LEVEL=\"\"");
}

TEST(ProgressEstimate, WeightedAndOverallPercent) {
  const Weights download{22, 22, 22, 27, 2, 5};
  EXPECT_FLOAT_EQ(WeightedPercent(download, 3, 40.0f), 76.8f);
  EXPECT_FLOAT_EQ(WeightedPercent(download, 6, 0.0f), 100.0f);
  EXPECT_FLOAT_EQ(WeightedPercent(download, 60, 0.0f), 100.0f);
  EXPECT_FLOAT_EQ(WeightedPercent({}, 0, 50.0f), 100.0f);

  const struct {
    int phase;
    Weights down, install;
    int index, percent;
    float overall;
  } cases[] = {
      {Downloading, download, download, 3, 40, 38.4f},
      {Installing, download, download, 0, 0, 50.0f},
      {Installing, {}, {90, 10}, 0, 50, 45.0f},
      {Installing, download, {}, 0, 50, 0.0f},
      {Downloading, {}, {90, 10}, 0, 50, 0.0f},
      {Finished, download, download, -1, 0, 100.0f},
      {Cancelling, download, download, 2, 50, 0.0f},
      {Failed, download, download, 2, 50, 0.0f},
      {Cancelled, download, download, 2, 50, 0.0f},
      {Initializing, download, download, 2, 50, 0.0f},
      {1, download, download, 2, 50, 0.0f},
  };
  for (const auto& c : cases)
    EXPECT_FLOAT_EQ(OverallPercent(c.phase, c.down, c.install, c.index, c.percent), c.overall)
        << "phase " << c.phase;

  EXPECT_FLOAT_EQ(PassPercent(Downloading, true, 38.4f), 76.8f);
  EXPECT_FLOAT_EQ(PassPercent(Installing, true, 50.0f), 0.0f);
  EXPECT_FLOAT_EQ(PassPercent(Installing, false, 45.0f), 45.0f);
  EXPECT_FLOAT_EQ(PassPercent(Finished, true, 100.0f), 100.0f);
}

TEST(ProgressEstimate, RemainingTimeFromElapsedTime) {
  EXPECT_EQ(RemainingMilliseconds(1000, 11000, 25.0f), 30000u);
  EXPECT_EQ(RemainingMilliseconds(1000, 11000, 100.0f), 1000u);  // done: never "00 secs"
  EXPECT_EQ(RemainingMilliseconds(0xFFFFF000u, 0x00001000u, 50.0f), 0x2000u);  // tick wrap
}

TEST(ProgressEstimate, TimeTexts) {
  const TimeTemplates english{L"%02d hours %02d mins %02d secs remaining...",
                              L"%02d mins %02d secs remaining...", L"%02d secs remaining..."};
  EXPECT_EQ(FormatTimeRemaining(1000, english), L"01 secs remaining...");
  EXPECT_EQ(FormatTimeRemaining(500, english), L"00 secs remaining...");
  EXPECT_EQ(FormatTimeRemaining(61000, english), L"01 mins 01 secs remaining...");
  EXPECT_EQ(FormatTimeRemaining(3725000, english), L"01 hours 02 mins 05 secs remaining...");
  EXPECT_EQ(FormatTimeRemaining(3600000 * 120u, english),
            L"120 hours 00 mins 00 secs remaining...");
  // A translation is data, never a printf format.
  const TimeTemplates hostile{L"%s %n %02d h", L"%x%d", L"noch %d Sek. (100%%)"};
  EXPECT_EQ(FormatTimeRemaining(3725000, hostile), L"%s %n 01 h");
  EXPECT_EQ(FormatTimeRemaining(61000, hostile), L"%x1");
  EXPECT_EQ(FormatTimeRemaining(5000, hostile), L"noch 5 Sek. (100%)");
}

TEST(NumberTemplate, WidthsSignsAndMissingNumbers) {
  EXPECT_EQ(FormatNumbers(L"[%5d|%-3d|%03d|%d|%d]", {42, 7, -5}), L"[   42|%-3d|007|-5|0]");
  EXPECT_EQ(FormatNumbers(L"%04d", {-5}), L"-005");
  EXPECT_EQ(FormatNumbers(L"%d%", {1}), L"1%");
  EXPECT_EQ(ReplaceText(L"%s is ready, %s", L"Kest"), L"Kest is ready, Kest");
  EXPECT_EQ(ReplaceText(L"100% %", L"x"), L"100% %");
}

}  // namespace
