#include "engine/InstallEngine.h"

#include <msi.h>
#include <shlwapi.h>

#include <algorithm>
#include <exception>

#include "app/RunOptions.h"
#include "config/InstallConfig.h"
#include "config/UiText.h"
#include "engine/InstallPhase.h"
#include "engine/MessageBoxSeam.h"
#include "engine/NumberTemplate.h"
#include "engine/PlanWeights.h"
#include "engine/PrerequisiteChecks.h"
#include "engine/ProgramRunner.h"
#include "engine/ProgressState.h"
#include "engine/RunOwner.h"
#include "net/DownloadJob.h"
#include "ui/framework/DebugOutput.h"
#include "update/VersionDocument.h"

InstallEngine::InstallEngine()
    : cancelEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      runEvent(::CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}

InstallEngine::~InstallEngine() {
  if (runHandle.valid()) runHandle.wait();
  // The installer message handler stays registered after a package, with this engine as its
  // context; it must not outlive the engine.
  ::MsiSetExternalUIW(nullptr, 0, nullptr);
}

void ReportProgress(int phase, int index, int percent) {
  SharedProgress().Report(phase, index, percent);
}

void SetPhase(int phase) {
  ReportProgress(phase, -1, 0);
}

void BuildInstallPlan(InstallEngine& engine) {
  const InstallConfig& config = Configuration();
  const ProductManifest& manifest = config.manifest;
  const auto language = static_cast<std::int32_t>(config.uiStrings.currentLanguage);
  std::vector<unsigned> weights;

  for (const auto& dependency : manifest.prerequisites) {
    if (IsPrerequisitePresent(dependency.name) != 0) continue;
    engine.items.push_back({dependency.name, dependency.address,
                            config.ComponentPath(dependency.name), dependency.commandLine, 1,
                            Program});
    weights.push_back(plan_weights::kDependency);
  }

  engine.items.push_back({manifest.packageName, manifest.packageAddress,
                          config.packageFolder + manifest.packageName, L"", 1, Package});
  weights.push_back(plan_weights::kMainPackage);

  const auto transform =
      std::find_if(manifest.transforms.begin(), manifest.transforms.end(),
                   [&](const TransformInfo& t) { return t.languageId == language; });
  if (transform != manifest.transforms.end()) {
    engine.items.push_back(
        {transform->name, transform->address, config.TransformPath(language), L"", 1, Transform});
    weights.push_back(plan_weights::kTransform);
  }

  auto addLanguagePack = [&](std::int32_t id) {
    const auto pack = std::find_if(manifest.languagePacks.begin(), manifest.languagePacks.end(),
                                   [&](const LanguagePackInfo& p) { return p.languageId == id; });
    if (pack == manifest.languagePacks.end()) return;
    engine.items.push_back(
        {pack->name, pack->address, config.LanguagePackPath(id), L"/s", 1, Program});
    weights.push_back(plan_weights::kLanguagePack);
  };
  if (RunOptions().productInstalled) {
    for (const std::int32_t id : config.GetInstalledLanguagePacks()) addLanguagePack(id);
  } else if (config.multiLanguage && language != 1033) {
    addLanguagePack(language);
  }

  std::vector<unsigned> downloadWeights, installWeights;
  const bool standalone = manifest.standalone != 0;
  for (size_t i = 0; i < engine.items.size(); ++i) {
    engine.items[i].needsDownload = standalone ? 0 : 1;
    installWeights.push_back(weights[i]);
    if (!standalone) downloadWeights.push_back(weights[i]);
  }
  SharedProgress().SetWeights(NormaliseWeights(downloadWeights), NormaliseWeights(installWeights));
}

namespace {

bool PreCheck(InstallEngine& engine) {
  const InstallConfig& config = Configuration();
  if (!config.manifest.standalone && !config.manifest.versionDocumentAddress.empty()) {
    CDownloadJob job(config.manifest.versionDocumentAddress, config.ComponentPath(L"version.xml"));
    if (!RunDownloadJob(job, &engine, nullptr) || !ReadVersionDocument(job.LocalPath())) {
      engine.runError = kRunErrorDownload;
      return false;
    }
  }
  const int decision = CheckVersions();
  if (decision == kVersionsGoOn) return true;
  const std::wstring shortName = Configuration().manifest.shortName;
  if (decision == kPatchDoesNotApply)
    ShowEngineMessageBox(RunOwnerWindow(),
                         ReplaceText(UiText(IDS_ERR_INSTALLED_ALREADY), shortName),
                         L"Windows Installer", MB_OKCANCEL | MB_ICONERROR);
  else if (decision == kInstallerTooOld)
    ShowEngineMessageBox(RunOwnerWindow(), UiText(IDS_ERR_CLIENT_TOO_OLD), L"Windows Installer",
                         MB_OKCANCEL | MB_ICONERROR);
  return false;
}

bool DownloadPass(InstallEngine& engine) {
  int downloadIndex = 0;
  for (const InstallItem& item : engine.items) {
    if (engine.stopRequested) return false;
    if (!item.needsDownload) continue;
    // An item's percentage only grows: the job's closing report (0 bytes done) would otherwise
    // pull the bar back until the next item starts.
    int itemPercent = 0;
    CDownloadJob job(item.url, item.localPath);
    const bool done = RunDownloadJob(job, &engine, [&](const DownloadStatusInfo& record) {
      const int p = record.bytesTotal > 0 ? static_cast<int>(std::clamp<std::int64_t>(
                                                record.bytesDone * 100 / record.bytesTotal, 0, 100))
                                          : 0;
      itemPercent = std::max(itemPercent, p);
      ReportProgress(Downloading, downloadIndex, itemPercent);
    });
    if (!done) {
      engine.runError = kRunErrorDownload;
      return false;
    }
    ++downloadIndex;
  }
  return true;
}

bool InstallPass(InstallEngine& engine) {
  engine.installIndex = 0;
  for (const InstallItem& item : engine.items) {
    if (engine.stopRequested) return false;
    if (!::PathFileExistsW(item.localPath.c_str())) continue;
    ReportProgress(Installing, engine.installIndex, 0);
    switch (item.kind) {
      case Program:
        RunProgram(item);
        break;
      case Package:
        if (!InstallPackage(engine, item)) return false;
        break;
      default:
        break;  // a transform is applied with the product package
    }
    ReportProgress(Installing, engine.installIndex, 100);
    ++engine.installIndex;
  }
  return true;
}

// Failed, or Cancelled when a cancel came first; either way a final phase.
void EndFailed() {
  SetPhase(Failed);  // ignored while cancelling
  if (SharedProgress().Phase() == Cancelling) SetPhase(Cancelled);
}

void Run(InstallEngine& engine) {
  bool ok = PreCheck(engine) && DownloadPass(engine) && InstallPass(engine);
  if (ok) {
    ApplyPostInstallSettings();
    Configuration().productWebPage = engine.capturedProductUrl;
    if (SharedProgress().Phase() != Cancelling) SetPhase(Finished);
  } else if (SharedProgress().Phase() != Cancelling) {
    if (engine.runError == kRunErrorDownload)
      ShowEngineMessageBox(nullptr, UiText(IDS_ERR_CONNECT_DOWNLOAD_SERVER),
                           Configuration().manifest.shortName, MB_OK | MB_ICONERROR);
    SetPhase(Failed);
  }
  if (SharedProgress().Phase() == Cancelling) SetPhase(Cancelled);
}

}  // namespace

void RunInstallation(InstallEngine& engine) noexcept {
  try {
    Run(engine);
  } catch (...) {
    // A standard exception (out of memory, say) ends the run like any other failure.
    fw::DebugOutput(L"Installation stopped by an exception\r\n");
    EndFailed();
  }
}

void StartInstallation(InstallEngine& engine) {
  try {
    engine.runHandle = std::async(std::launch::async, [&engine] { RunInstallation(engine); });
  } catch (...) {
    // No thread could be started: the run ends at once instead of waiting forever.
    EndFailed();
  }
}

void CancelInstallation(InstallEngine& engine) {
  engine.answerCancel = 1;
  engine.stopRequested = 1;
  // A run that has ended keeps its final phase: the test and the change are one step, so the
  // run cannot finish in between and be left Cancelling for good.
  const bool cancelling = SharedProgress().BeginCancelling();
  if (engine.cancelEvent && engine.runEvent) {
    ::SetEvent(engine.cancelEvent.Get());
    ::SetEvent(engine.runEvent.Get());
  } else if (cancelling) {
    SetPhase(Cancelled);
  }
}
