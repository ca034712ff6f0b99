// The application object: single-instance guard, switches, start-up sequence and the relaunch of
// a downloaded installer at exit.
#pragma once

#include <string>

#include "app/InstallOptions.h"
#include "ui/framework/Application.h"
#include "ui/framework/UniqueHandle.h"

class CQORMasterInstallerApp : public fw::CWinApp {
 public:
  CQORMasterInstallerApp();
  ~CQORMasterInstallerApp() override;

  BOOL InitInstance() override;
  int ExitInstance() override;

  InstallOptions& Options() noexcept { return options_; }

 private:
  // Start-up steps, in the order InitInstance runs them.
  bool ActivateRunningInstance();  // true when another installer already runs
  void ReadSwitches();
  bool RegisterWizardClass();
  void InitializeTheme();
  bool LoadInstallManifest();  // false: the run ends
  bool RunClientValidator();  // true: go on to the wizard
  void RunWizard();

  fw::UniqueHandle instanceSemaphore_;
  InstallOptions& options_;
  // What the start-up version check leaves: 0 go on, 1 stop, 2 stop and start the new installer.
  int validatorResult_ = 0;
  std::wstring newInstallerPath_;
};
