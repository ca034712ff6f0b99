#include "tests/engine/EngineRunSupport.h"

#include <msi.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/InstallPhase.h"
#include "engine/MessageBoxSeam.h"
#include "engine/ProgressEstimate.h"
#include "engine/ProgressState.h"
#include "tests/support/TestPaths.h"
#include "ui/framework/UniqueHandle.h"

namespace kest::test {

namespace {

bool RunAndWait(std::wstring commandLine, DWORD timeoutMs) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
    return false;
  fw::UniqueHandle processHandle(process.hProcess), thread(process.hThread);
  if (::WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
  DWORD code = 1;
  ::GetExitCodeProcess(process.hProcess, &code);
  return code == 0;
}

std::wstring ReadString(HKEY root, const std::wstring& key, const wchar_t* name) {
  wchar_t value[1024] = {};
  DWORD size = sizeof(value);
  if (::RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return L"<missing>";
  return value;
}

}  // namespace

const TestServer& EngineServer() {
  return RunningServer("engine-test-server/state");
}

BoxRecorder::BoxRecorder(int answer) {
  SetEngineMessageBoxHandler(
      [this, answer](HWND, const std::wstring& text, const std::wstring& caption, UINT style) {
        std::lock_guard guard(lock_);
        boxes_.push_back({text, caption, style});
        return answer;
      });
}

BoxRecorder::~BoxRecorder() {
  SetEngineMessageBoxHandler(nullptr);
}

std::vector<ShownBox> BoxRecorder::Boxes() const {
  std::lock_guard guard(lock_);
  return boxes_;
}

ProgressWatch::ProgressWatch() : thread_([this] { Poll(); }) {}

ProgressWatch::~ProgressWatch() {
  Stop();
}

void ProgressWatch::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

void ProgressWatch::Poll() {
  for (;;) {
    const bool last = stop_;
    const auto f = SharedProgress().Copy();
    const float p =
        OverallPercent(f.phase, f.downloadWeights, f.installWeights, f.index, f.percent);
    {
      std::lock_guard guard(lock_);
      if (phases_.empty() || phases_.back() != f.phase) phases_.push_back(f.phase);
      // Cancelling and the failure phases show 0 by design; only a running or finished run
      // must never move back.
      if (f.phase == Downloading || f.phase == Installing || f.phase == Finished) {
        if (last_ - p > largestDrop_) largestDrop_ = last_ - p;
        last_ = p;
      }
    }
    if (last) return;
    ::Sleep(1);
  }
}

std::vector<int> ProgressWatch::Phases() const {
  std::lock_guard guard(lock_);
  return phases_;
}

float ProgressWatch::LargestDrop() const {
  std::lock_guard guard(lock_);
  return largestDrop_;
}

float ProgressWatch::LastPercent() const {
  std::lock_guard guard(lock_);
  return last_;
}

Release::Release(std::string_view hint) : tag(UniqueTag(hint)) {
  served = BinaryPath("engine-test-server/root") / tag;
  std::filesystem::create_directories(served);
  installerFolder = ScratchFolder(std::string(hint) + " installer");
  installFolder = ScratchFolder(std::string(hint) + " product") / "Pictova Kest";
  std::filesystem::create_directories(installFolder);
  registryKey = L"SOFTWARE\\KestTests\\Engine\\" + std::wstring(tag.begin(), tag.end());
}

std::wstring Release::Url(std::string_view file, std::string_view query) const {
  std::string path = "/" + tag + "/" + std::string(file);
  if (!query.empty()) path += "?" + std::string(query);
  return EngineServer().Url(path);
}

void Release::Serve(const std::filesystem::path& source, const std::string& name) const {
  std::filesystem::copy_file(source, served / name,
                             std::filesystem::copy_options::overwrite_existing);
}

void Release::ServeText(const std::string& name, const std::string& text) const {
  WriteFileBytes(served / name, text);
}

std::vector<LoggedRequest> Release::Requests() const {
  return EngineServer().RequestsContaining("/" + tag + "/");
}

std::filesystem::path TestPackage(std::string_view name) {
  return BinaryPath("tests/engine/packages") / std::string(name);
}

std::filesystem::path GermanTransform() {
  static const std::filesystem::path transform = [] {
    const auto out = ScratchFolder("transform") / "KestProduct_1031.mst";
    const std::wstring command = L"\"" + BinaryPath("tools/make_transform.exe").wstring() +
                                 L"\" \"" + TestPackage("KestProduct.msi").wstring() + L"\" \"" +
                                 TestPackage("KestProductDe.msi").wstring() + L"\" \"" +
                                 out.wstring() + L"\"";
    EXPECT_TRUE(RunAndWait(command, 60000)) << "make_transform failed";
    return out;
  }();
  return transform;
}

std::filesystem::path MarkerProbe() {
  return BinaryPath("tests/marker_probe.exe");
}

std::string VersionDocument(std::string_view freshMinimum, std::string_view patchProduct,
                            std::string_view patchMinimum) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<qorwebinstaller>\n"
         "  <product_code>{7A1C2D3E-4F50-4617-8A9B-C0D1E2F3A4B5}</product_code>\n"
         "  <fresh_install>\n    <product_version>28.1.0.5</product_version>\n"
         "    <min_web_installer_version>" +
         std::string(freshMinimum) +
         "</min_web_installer_version>\n  </fresh_install>\n  <patch_install>\n"
         "    <product_version>" +
         std::string(patchProduct) + "</product_version>\n    <min_web_installer_version>" +
         std::string(patchMinimum) +
         "</min_web_installer_version>\n  </patch_install>\n"
         "</qorwebinstaller>\n";
}

std::wstring ReadMachineString(const std::wstring& key, const wchar_t* name) {
  return ReadString(HKEY_LOCAL_MACHINE, key, name);
}

std::wstring ReadUserString(const std::wstring& key, const wchar_t* name) {
  return ReadString(HKEY_CURRENT_USER, key, name);
}

DWORD ReadDword(HKEY root, const std::wstring& key, const wchar_t* name) {
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (::RegGetValueW(root, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
      ERROR_SUCCESS)
    return 0xFFFFFFFF;
  return value;
}

bool ProductInstalled() {
  return ::MsiQueryProductStateW(kTestProductCode) == INSTALLSTATE_DEFAULT;
}

void UninstallTestPackages() {
  ::MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
  ::MsiSetExternalUIW(nullptr, 0, nullptr);
  if (ProductInstalled())
    ::MsiConfigureProductW(kTestProductCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
  RunAndWait(L"msiexec /x \"" + TestPackage("KestPrerequisite.msi").wstring() + L"\" /qn", 60000);
  ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\KestTests\\ProductReceived");
  ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\KestTests\\Prerequisite");
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out.push_back(c < 128 ? static_cast<char>(c) : '?');
  return out;
}

}  // namespace kest::test
