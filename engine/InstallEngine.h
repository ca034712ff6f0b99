// One installation run: the plan of items, the download and install passes, the post-install
// settings and the progress reports. The status page owns the engine, builds the plan on the
// user-interface thread and runs the installation on a background task.
#pragma once

#include <windows.h>

#include <atomic>
#include <future>
#include <string>
#include <vector>

#include "engine/InstallItem.h"
#include "engine/InstallerProgress.h"
#include "net/IDownloadJobOwner.h"
#include "ui/framework/UniqueHandle.h"

class InstallEngine : public IDownloadJobOwner {
 public:
  InstallEngine();
  ~InstallEngine() override;  // waits for a running installation task
  InstallEngine(const InstallEngine&) = delete;
  InstallEngine& operator=(const InstallEngine&) = delete;

  HANDLE CancelEvent() const override { return cancelEvent.Get(); }
  HANDLE RunEvent() const override { return runEvent.Get(); }

  std::vector<InstallItem> items;
  int installIndex = -1;
  InstallerProgress installerProgress;
  bool firstMessagePending = true;
  std::future<void> runHandle;   // completion handle of the installation task
  fw::UniqueHandle cancelEvent;  // manual reset, signalled: stop
  fw::UniqueHandle runEvent;     // manual reset, not signalled: hold downloads
  std::atomic<int> stopRequested{0};
  std::atomic<int> answerCancel{0};
  std::wstring capturedProductUrl;
  int runError = 0;  // 4: a download or the version document failed; 5: the user cancelled
};

// Values of InstallEngine::runError.
inline constexpr int kRunErrorDownload = 4;
inline constexpr int kRunErrorUserCancel = 5;

// Appends the plan to the engine's items and stores the normalised weights in the shared
// progress record. User-interface thread, just before the run starts.
void BuildInstallPlan(InstallEngine& engine);

// The whole run; its outcome is the final phase left in the shared progress record.
void RunInstallation(InstallEngine& engine) noexcept;

// Starts RunInstallation on its own thread and keeps the completion handle in the engine.
void StartInstallation(InstallEngine& engine);

// Asks a running installation to stop; returns at once.
void CancelInstallation(InstallEngine& engine);

// Phase, item index and item percent, set together in the shared progress record.
void ReportProgress(int phase, int index, int percent);
void SetPhase(int phase);

// Installs one Windows Installer package with the run's properties and progress.
bool InstallPackage(InstallEngine& engine, const InstallItem& item);

// The answer to one Windows Installer message during InstallPackage: progress, log lines and
// the installer's own error boxes.
int HandleInstallerMessage(InstallEngine& engine, UINT type, const wchar_t* text);

// Records a fresh installation's folder, executable and language in the registry.
void ApplyPostInstallSettings();
