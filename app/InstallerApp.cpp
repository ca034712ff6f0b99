#include "app/InstallerApp.h"

#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/Relaunch.h"
#include "app/RunOptions.h"
#include "app/SwitchTable.h"
#include "config/InstallConfig.h"
#include "config/UiText.h"
#include "net/InternetSession.h"
#include "res/resource.h"
#include "ui/framework/DebugOutput.h"
#include "ui/framework/ThreadAnsi.h"
#include "ui/pages/InstallGuide.h"

CQORMasterInstallerApp::CQORMasterInstallerApp() : options_(RunOptions()) {
  // Static construction: the process-wide Internet session exists before anything runs.
  OpenInternetSession();
}

CQORMasterInstallerApp::~CQORMasterInstallerApp() {
  CloseInternetSession();
}

BOOL CQORMasterInstallerApp::InitInstance() {
  if (ActivateRunningInstance()) return FALSE;
  fw::CWinApp::InitInstance();
  ReadSwitches();
  if (!RegisterWizardClass()) return FALSE;
  InitializeTheme();
  if (!LoadInstallManifest()) return FALSE;
  if (!options_.noValidation) {
    newInstallerPath_.clear();
    if (!RunClientValidator()) return FALSE;
  }
  RunWizard();
  return FALSE;  // no message loop: the run ends when the wizard has closed
}

int CQORMasterInstallerApp::ExitInstance() {
  // The theme's fonts are released here once the theme exists.
  instanceSemaphore_.Reset();
  RelaunchDownloadedInstaller(validatorResult_, newInstallerPath_);
  return fw::CWinApp::ExitInstance();
}

bool CQORMasterInstallerApp::ActivateRunningInstance() {
  instanceSemaphore_.Reset(::CreateSemaphoreW(nullptr, 0, 1, L"QORMasterInstaller"));
  if (!instanceSemaphore_ || ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
  if (HWND running = ::FindWindowW(KEST_WIZARD_CLASS_NAME, nullptr)) {
    if (::IsIconic(running)) ::ShowWindow(running, SW_RESTORE);
    ::SetForegroundWindow(running);
  }
  return true;
}

void CQORMasterInstallerApp::ReadSwitches() {
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!argv) return;
  std::vector<std::wstring> wide(argv, argv + count);
  ::LocalFree(argv);
  std::vector<std::string> narrow;
  narrow.reserve(wide.size());
  for (const auto& argument : wide) narrow.push_back(fw::ToThreadAnsi(argument));
  ApplySwitches(SwitchTable(), wide, narrow, options_);
}

bool CQORMasterInstallerApp::RegisterWizardClass() {
  WNDCLASSW dialogClass{};
  if (!::GetClassInfoW(nullptr, MAKEINTATOM(32770), &dialogClass)) return false;
  dialogClass.lpszClassName = KEST_WIZARD_CLASS_NAME;
  return ::RegisterClassW(&dialogClass) != 0;
}

void CQORMasterInstallerApp::InitializeTheme() {}

bool CQORMasterInstallerApp::LoadInstallManifest() {
  const InstallConfig& config = Configuration();
  const auto result = Configuration().LoadManifest();
  fw::DebugOutputF(L"Install manifest load result: %d\r\n", static_cast<int>(result));
  if (result == ManifestLoadResult::kLoaded) return true;
  // Without its manifest the installer knows neither what to download nor where to put it;
  // going on would only fail later, or write beside whatever folder is current.
  const std::wstring text = UiText(IDS_ERR_CONNECT_DOWNLOAD_SERVER);
  const std::wstring caption =
      config.manifest.shortName.empty() ? L"Pictova Kest" : config.manifest.shortName;
  ::MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
  return false;
}

bool CQORMasterInstallerApp::RunClientValidator() {
  validatorResult_ = 0;
  return validatorResult_ == 0;
}

void CQORMasterInstallerApp::RunWizard() {
  const HRESULT com = ::CoInitialize(nullptr);
  {
    CInstallGuide wizard;
    m_pMainWnd = &wizard;
    wizard.DoModal();
    m_pMainWnd = nullptr;
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
}
