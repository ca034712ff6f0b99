// Whole installation runs without the wizard, on real parts: the loopback server, Wine's
// Windows Installer and registry, and packages built with wixl.
#include <windows.h>
#include <msi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/RunOptions.h"
#include "config/InstallConfig.h"
#include "config/UiText.h"
#include "engine/InstallEngine.h"
#include "engine/InstallPhase.h"
#include "engine/NumberTemplate.h"
#include "engine/ProgressSnapshot.h"
#include "engine/ProgressState.h"
#include "net/InternetSession.h"
#include "tests/engine/EngineRunSupport.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace kest::test;

struct Item {
  std::string name, url, extra;  // extra: command line or language id
};

struct ManifestSpec {
  bool standalone = false;
  std::string versionUrl;
  std::vector<Item> dependencies;
  std::string packageName = "PictovaKestTest.msi";
  std::string packageUrl;
  std::vector<Item> transforms;
  std::vector<Item> languagePacks;
};

std::string Xml(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else
      out.push_back(c);
  }
  return out;
}

class EngineRun : public ::testing::Test {
 protected:
  void SetUp() override {
    UninstallTestPackages();
    SharedProgress().Reset();
    RunOptions() = InstallOptions{};
    Configuration() = InstallConfig{};
    ASSERT_TRUE(OpenInternetSession());  // as start-up and the status page do
  }
  void TearDown() override {
    UninstallTestPackages();
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, release_.registryKey.c_str());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, release_.registryKey.c_str());
  }

  // Writes the manifest beside the installer, loads it and points the product at its folder.
  void Load(const ManifestSpec& spec, std::uint32_t language = 1033) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<qorwebinstaller>\n"
        "<web_installer_version>1.0.0.0</web_installer_version>\n"
        "<product_code>{7A1C2D3E-4F50-4617-8A9B-C0D1E2F3A4B5}</product_code>\n<product>\n"
        "<pid>PKTEST</pid><full_name>Pictova Kest Test</full_name>"
        "<short_name>Kest Test</short_name>\n<registry>" +
        Narrow(release_.registryKey) + "</registry>\n<standalone>" +
        (spec.standalone ? "true" : "false") +
        "</standalone>\n<standalone_version>28.1.0.6</standalone_version>\n"
        "<version_check_url>" +
        Xml(spec.versionUrl) +
        "</version_check_url>\n"
        "<main_component><name>" +
        spec.packageName + "</name><executable>bin\\Kest.exe</executable><full_url>" +
        Xml(spec.packageUrl) + "</full_url>\n";
    for (const auto& t : spec.transforms)
      xml += "<transform><lang_id>" + t.extra + "</lang_id><name>" + t.name + "</name><full_url>" +
             Xml(t.url) + "</full_url></transform>\n";
    xml += "</main_component>\n";
    for (const auto& p : spec.languagePacks)
      xml += "<language_pack><lang_id>" + p.extra + "</lang_id><pid>PKL</pid><name>" + p.name +
             "</name><full_url>" + Xml(p.url) + "</full_url></language_pack>\n";
    for (const auto& d : spec.dependencies)
      xml += "<dependency><name>" + d.name + "</name><full_url>" + Xml(d.url) +
             "</full_url><install_commandline>" + d.extra + "</install_commandline></dependency>\n";
    xml += "</product>\n</qorwebinstaller>\n";
    ASSERT_TRUE(WriteFileBytes(release_.installerFolder / "config" / "manifestKest.xml", xml));
    ASSERT_EQ(Configuration().LoadManifestFrom(release_.installerFolder.wstring()),
              ManifestLoadResult::kLoaded);
    Configuration().uiStrings.currentLanguage = language;
    Configuration().installFolder = release_.installFolder.wstring() + L"\\";
  }

  // A full release: an msiexec prerequisite, a program prerequisite, the product package,
  // a German transform and a German language pack.
  ManifestSpec FullRelease(std::string_view packageQuery = "") {
    release_.ServeText("version.xml", VersionDocument());
    release_.Serve(TestPackage("KestPrerequisite.msi"), "KestRuntime.msi");
    release_.Serve(MarkerProbe(), "setup_helper.exe");
    release_.Serve(TestPackage("KestProduct.msi"), "PictovaKestTest.msi");
    release_.Serve(GermanTransform(), "PictovaKestTest_1031.mst");
    release_.Serve(MarkerProbe(), "PictovaKestLanguage_1031.exe");
    ManifestSpec spec;
    spec.versionUrl = Narrow(release_.Url("version.xml"));
    spec.dependencies = {
        {"KestRuntime.msi", Narrow(release_.Url("KestRuntime.msi")), "MARKER=yes /qn"},
        {"setup_helper.exe", Narrow(release_.Url("setup_helper.exe")), "/quiet"}};
    spec.packageUrl = Narrow(release_.Url("PictovaKestTest.msi", packageQuery));
    spec.transforms = {
        {"PictovaKestTest_1031.mst", Narrow(release_.Url("PictovaKestTest_1031.mst")), "1031"}};
    spec.languagePacks = {{"PictovaKestLanguage_1031.exe",
                           Narrow(release_.Url("PictovaKestLanguage_1031.exe")), "1031"}};
    return spec;
  }

  // Plans and runs to the end, as the status page does.
  int Run(InstallEngine& engine) {
    BuildInstallPlan(engine);
    StartInstallation(engine);
    engine.runHandle.wait();
    return SharedProgress().Phase();
  }

  Release release_{"engine"};
};

TEST_F(EngineRun, FreshInstallationEndToEnd) {
  Load(FullRelease("delay=40&block=32768"), 1031);
  BoxRecorder boxes;
  ProgressWatch watch;
  InstallEngine engine;
  EXPECT_EQ(Run(engine), Finished);
  watch.Stop();

  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(watch.Phases(), (std::vector<int>{Initializing, Downloading, Installing, Finished}));
  EXPECT_LE(watch.LargestDrop(), 0.0f);
  EXPECT_FLOAT_EQ(watch.LastPercent(), 100.0f);
  const ProgressSnapshot snapshot = TakeProgressSnapshot();
  EXPECT_EQ(PercentText(snapshot.percent), L"100.0%");
  EXPECT_EQ(ProgressBarPosition(snapshot.percent), 1000);
  EXPECT_EQ(snapshot.statusText, UiText(IDS_STATUS_FINISHED));

  // The plan: prerequisites, package, transform, language pack.
  ASSERT_EQ(engine.items.size(), 5u);
  EXPECT_EQ(engine.items[2].kind, Package);
  EXPECT_EQ(engine.items[3].kind, Transform);
  EXPECT_EQ(engine.items[4].commandLine, L"/s");

  // The product is in the chosen folder and received the run's properties.
  const auto& folder = release_.installFolder;
  EXPECT_TRUE(std::filesystem::exists(folder / "bin" / "Kest.exe"));
  EXPECT_TRUE(std::filesystem::exists(folder / "readme.txt"));
  const std::wstring received = L"Software\\KestTests\\ProductReceived";
  EXPECT_EQ(ReadMachineString(received, L"INSTALLDIR"), folder.wstring() + L"\\");
  EXPECT_EQ(ReadMachineString(received, L"TRANSFORMS"),
            Configuration().transformFolder + L"1031.mst");
  EXPECT_EQ(ReadMachineString(received, L"SHELL_INTEGRATION_LEVEL"), L"All");
  EXPECT_EQ(ReadMachineString(received, L"LANGUAGE"), L"Deutsch");  // the transform applied
  EXPECT_EQ(Configuration().productWebPage, L"https://www.example.com/kest/welcome");

  // Both prerequisites ran, and the language pack with "/s".
  EXPECT_EQ(ReadMachineString(L"Software\\KestTests\\Prerequisite", L"Installed"), L"yes");
  EXPECT_NE(WaitForMarker(engine.items[1].localPath).find(L" /quiet"), std::wstring::npos);
  EXPECT_NE(WaitForMarker(engine.items[4].localPath).find(L" /s"), std::wstring::npos);

  // The settings of a fresh installation.
  const std::wstring bin = folder.wstring() + L"\\bin\\";
  EXPECT_EQ(ReadMachineString(release_.registryKey, L"InstallDir"), bin);
  EXPECT_EQ(ReadMachineString(release_.registryKey, L"exe"), bin + L"Kest.exe");
  EXPECT_EQ(
      ReadDword(HKEY_LOCAL_MACHINE, release_.registryKey + L"\\LanguagePacks", L"InitialLangID"),
      1031u);
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, release_.registryKey, L"ApplicationLanguage"), 1031u);
  EXPECT_EQ(
      ReadUserString(L"SOFTWARE\\QOR Systems\\ResourceLangID", (bin + L"qorBeacon2.exe").c_str()),
      L"1031");

  // Every request carried the installer's agent.
  const auto requests = release_.Requests();
  EXPECT_EQ(requests.size(), 12u);  // version document, then size query and body per item
  for (const auto& r : requests)
    EXPECT_EQ(r.headers.at("User-Agent"), "Pictova Web Installer Client");
}

TEST_F(EngineRun, UpdateReinstallsWithTheInstalledLanguagePacks) {
  ManifestSpec spec = FullRelease();
  Load(spec);
  {
    BoxRecorder boxes;
    InstallEngine first;
    ASSERT_EQ(Run(first), Finished);
  }
  ASSERT_TRUE(ProductInstalled());
  // The product's language pack installer records itself like this.
  HKEY pack = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                              (release_.registryKey + L"\\LanguagePacks\\1031").c_str(), 0, nullptr,
                              0, KEY_WRITE, nullptr, &pack, nullptr),
            ERROR_SUCCESS);
  ::RegCloseKey(pack);

  SharedProgress().Reset();
  RunOptions() = InstallOptions{};
  Configuration() = InstallConfig{};
  Load(spec);
  ASSERT_EQ(RunOptions().productInstalled, 1);
  BoxRecorder boxes;
  InstallEngine update;
  EXPECT_EQ(Run(update), Finished);
  EXPECT_TRUE(boxes.Boxes().empty());
  ASSERT_FALSE(update.items.empty());
  EXPECT_NE(update.items.back().localPath.find(L"language_pack_1031.exe"), std::wstring::npos);
  EXPECT_EQ(ReadMachineString(L"Software\\KestTests\\ProductReceived", L"REINSTALL"), L"ALL");
}

TEST_F(EngineRun, StandaloneReleaseSendsNoRequest) {
  ManifestSpec spec;
  spec.standalone = true;
  spec.versionUrl = Narrow(release_.Url("version.xml"));
  spec.packageUrl = Narrow(release_.Url("PictovaKestTest.msi"));
  spec.dependencies = {{"setup_helper.exe", Narrow(release_.Url("setup_helper.exe")), "/quiet"},
                       {"missing_helper.exe", Narrow(release_.Url("missing_helper.exe")), ""}};
  Load(spec);
  // A standalone release brings its files along; one of them is missing here.
  const InstallConfig& config = Configuration();
  std::filesystem::create_directories(config.componentFolder);
  std::filesystem::copy_file(TestPackage("KestProduct.msi"),
                             config.packageFolder + L"PictovaKestTest.msi");
  std::filesystem::copy_file(MarkerProbe(), config.ComponentPath(L"setup_helper.exe"));

  BoxRecorder boxes;
  InstallEngine engine;
  EXPECT_EQ(Run(engine), Finished);
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_TRUE(release_.Requests().empty());
  EXPECT_TRUE(ProductInstalled());
  // The missing helper was skipped: the items after it took its index.
  EXPECT_EQ(engine.installIndex, 2);
  const auto fields = SharedProgress().Copy();
  EXPECT_TRUE(fields.downloadWeights.empty());
  EXPECT_EQ(fields.installWeights, (std::vector<unsigned>{30, 30, 40}));
}

TEST_F(EngineRun, MissingItemFailsTheRunAndInstallsNothing) {
  ManifestSpec spec = FullRelease();
  spec.dependencies[1].url = Narrow(release_.Url("setup_helper.exe", "status=404"));
  Load(spec);
  BoxRecorder boxes;
  InstallEngine engine;
  EXPECT_EQ(Run(engine), Failed);
  const auto shown = boxes.Boxes();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, UiText(IDS_ERR_CONNECT_DOWNLOAD_SERVER));
  EXPECT_EQ(shown[0].caption, L"Kest Test");
  EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_OK | MB_ICONERROR));
  EXPECT_FALSE(ProductInstalled());
  EXPECT_EQ(ReadMachineString(L"Software\\KestTests\\Prerequisite", L"Installed"), L"<missing>");
  EXPECT_EQ(engine.runError, kRunErrorDownload);
  EXPECT_FALSE(std::filesystem::exists(engine.items[1].localPath));
}

struct DecisionCase {
  const char* name;
  std::string freshMinimum, patchProduct;
  bool installed;
  const wchar_t* installedVersion;
  bool documentMissing;
  int expectedBoxes;  // 0: none; 1: installed already; 2: too old; 4: connect
};

class VersionDecisionRun : public EngineRun, public ::testing::WithParamInterface<DecisionCase> {};

TEST_P(VersionDecisionRun, StopsBeforeAnyDownload) {
  const auto& c = GetParam();
  ManifestSpec spec = FullRelease();
  if (c.documentMissing) spec.versionUrl = Narrow(release_.Url("absent.xml"));
  release_.ServeText("version.xml", VersionDocument(c.freshMinimum, c.patchProduct));
  Load(spec);
  if (c.installed) {
    RunOptions().productInstalled = 1;
    Configuration().installedProduct.version = c.installedVersion;
  }
  BoxRecorder boxes;
  InstallEngine engine;
  EXPECT_EQ(Run(engine), Failed);
  const auto shown = boxes.Boxes();
  switch (c.expectedBoxes) {
    case 0:
      EXPECT_TRUE(shown.empty());
      break;
    case 1:
    case 2:
      ASSERT_EQ(shown.size(), 1u);
      EXPECT_EQ(shown[0].text, c.expectedBoxes == 1
                                   ? ReplaceText(UiText(IDS_ERR_INSTALLED_ALREADY), L"Kest Test")
                                   : UiText(IDS_ERR_CLIENT_TOO_OLD));
      EXPECT_EQ(shown[0].caption, L"Windows Installer");
      EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONERROR));
      break;
    case 4:
      ASSERT_EQ(shown.size(), 1u);
      EXPECT_EQ(shown[0].text, UiText(IDS_ERR_CONNECT_DOWNLOAD_SERVER));
      break;
  }
  // Only the version document was asked for.
  for (const auto& r : release_.Requests())
    EXPECT_NE(r.target.find(c.documentMissing ? "absent.xml" : "version.xml"), std::string::npos)
        << r.target;
}

INSTANTIATE_TEST_SUITE_P(
    Decisions, VersionDecisionRun,
    ::testing::Values(
        DecisionCase{"PatchDoesNotApply", "1.0.0.0", "27.0.0.9", true, L"28.1.0.5", false, 1},
        DecisionCase{"InstallerTooOld", "1.0.0.9", "28.1.0.6", false, L"", false, 2},
        DecisionCase{"InstalledVersionUnknown", "1.0.0.0", "28.1.0.6", true, L"", false, 0},
        DecisionCase{"NoVersionDocument", "1.0.0.0", "28.1.0.6", false, L"", true, 4}),
    [](const auto& info) { return std::string(info.param.name); });

// Waits until the shared record shows the phase at the item index, then cancels.
// Waits until the shared record shows the phase at the item index (or a later item, should a
// busy machine let the watch miss it), then cancels. Answers the index it cancelled at.
int CancelWhen(InstallEngine& engine, int phase, int index, int minimumPercent) {
  int at = -1;
  for (int i = 0; i < 60000; ++i) {
    const auto f = SharedProgress().Copy();
    if (f.phase == phase &&
        (f.index > index || (f.index == index && f.percent >= minimumPercent))) {
      at = f.index;
      break;
    }
    if (f.phase >= Finished) break;
    ::Sleep(1);
  }
  CancelInstallation(engine);
  return at;
}

TEST_F(EngineRun, CancelDuringADownload) {
  Load(FullRelease("delay=150&block=16384"));
  BoxRecorder boxes;
  InstallEngine engine;
  BuildInstallPlan(engine);
  StartInstallation(engine);
  ASSERT_EQ(CancelWhen(engine, Downloading, 2, 1), 2);
  engine.runHandle.wait();
  EXPECT_EQ(SharedProgress().Phase(), Cancelled);
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_FALSE(ProductInstalled());
  EXPECT_EQ(ReadMachineString(L"Software\\KestTests\\Prerequisite", L"Installed"), L"<missing>");
  EXPECT_FALSE(std::filesystem::exists(engine.items[2].localPath));
}

// The handler answers IDCANCEL to the package's progress once cancelling was confirmed. (Wine's
// Windows Installer goes on all the same, so the package may still be installed there; the run
// must end Cancelled and start nothing after it.)
TEST_F(EngineRun, CancelDuringThePackageInstallation) {
  Load(FullRelease(), 1031);
  BoxRecorder boxes;
  InstallEngine engine;
  BuildInstallPlan(engine);
  StartInstallation(engine);
  const int cancelledAt = CancelWhen(engine, Installing, 2, 1);
  engine.runHandle.wait();
  ASSERT_GE(cancelledAt, 2) << "the run ended before the package was installing";
  EXPECT_EQ(SharedProgress().Phase(), Cancelled);
  EXPECT_TRUE(boxes.Boxes().empty());
  if (cancelledAt < 4) {
    EXPECT_TRUE(WaitForMarker(engine.items[4].localPath, 300).empty());  // language pack not run
  }
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, release_.registryKey, L"ApplicationLanguage"),
            0xFFFFFFFFu);  // nor the settings written
}

TEST(CancelInstallation, AFinishedRunStaysFinished) {
  SharedProgress().Reset();
  InstallEngine engine;
  SetPhase(Finished);
  CancelInstallation(engine);
  EXPECT_EQ(SharedProgress().Phase(), Finished);
  EXPECT_EQ(engine.stopRequested, 1);
  SharedProgress().Reset();
}

// A cancel confirmed before a package starts is never taken back by the package's start.
TEST(CancelInstallation, PackageStartKeepsAConfirmedCancel) {
  SharedProgress().Reset();
  InstallEngine engine;
  CancelInstallation(engine);
  InstallItem missing;
  missing.localPath = (ScratchFolder("cancel package") / "absent.msi").wstring();
  EXPECT_FALSE(InstallPackage(engine, missing));
  EXPECT_EQ(engine.answerCancel, 1);
  SharedProgress().Reset();
}

TEST(InstallerMessages, AnswersAndCaptures) {
  InstallEngine engine;
  engine.firstMessagePending = false;
  BoxRecorder boxes(IDCANCEL);
  EXPECT_EQ(HandleInstallerMessage(engine, INSTALLMESSAGE_PROGRESS, L"1: 0 2: 100 3: 0"), IDOK);
  engine.answerCancel = 1;
  EXPECT_EQ(HandleInstallerMessage(engine, INSTALLMESSAGE_PROGRESS, L"1: 2 2: 10"), IDCANCEL);
  EXPECT_EQ(HandleInstallerMessage(engine, INSTALLMESSAGE_INFO,
                                   L"Property(S): InstallHomepageURL = http://a.example.com"),
            IDOK);
  HandleInstallerMessage(engine, INSTALLMESSAGE_INFO,
                         L"Property(S): InstallHomepageURL = http://b.example.com");
  EXPECT_EQ(engine.capturedProductUrl, L"http://a.example.com");
  EXPECT_EQ(HandleInstallerMessage(engine, INSTALLMESSAGE_FILESINUSE, L"x"), 0);
  EXPECT_EQ(HandleInstallerMessage(engine, INSTALLMESSAGE_WARNING, L"x"), IDOK);
  EXPECT_EQ(HandleInstallerMessage(engine, INSTALLMESSAGE_PROGRESS, nullptr), 0);
  // The installer's own error: shown with its buttons; Cancel there marks the run.
  EXPECT_EQ(HandleInstallerMessage(engine, INSTALLMESSAGE_ERROR | MB_RETRYCANCEL | MB_ICONERROR,
                                   L"Disk full"),
            IDCANCEL);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].style, static_cast<UINT>(MB_RETRYCANCEL | MB_ICONERROR));
  EXPECT_EQ(engine.runError, kRunErrorUserCancel);
}

}  // namespace
