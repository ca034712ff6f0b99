// demo_runner [/lang ID]
// A developer tool, not the product: runs a complete installation from the install manifest
// beside it without the wizard, printing the status line, the percentage and the time text once
// a second and the final phase. Message boxes are printed and answered OK. Exit code 0 when the
// run finished.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "app/RunOptions.h"
#include "config/InstallConfig.h"
#include "engine/InstallEngine.h"
#include "engine/InstallPhase.h"
#include "engine/MessageBoxSeam.h"
#include "engine/ProgressSnapshot.h"
#include "net/InternetSession.h"

namespace {

void Print(const std::wstring& text) {
  // Console output of a Windows program under Wine: UTF-8 bytes are what the terminal reads.
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size > 0 ? size : 1), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
  std::fputs(bytes.c_str(), stdout);
  std::fputs("\n", stdout);
  std::fflush(stdout);
}

const wchar_t* PhaseName(int phase) {
  switch (phase) {
    case Downloading: return L"Downloading";
    case Installing: return L"Installing";
    case Cancelling: return L"Cancelling";
    case Finished: return L"Finished";
    case Failed: return L"Failed";
    case Cancelled: return L"Cancelled";
    default: return L"Initializing";
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::wcscmp(argv[i], L"/lang") == 0) RunOptions().languageArgument = argv[i + 1];

  InstallConfig& config = Configuration();
  const auto loaded = config.LoadManifest();
  Print(L"Manifest: " + config.manifestPath + L" (load result " +
        std::to_wstring(static_cast<int>(loaded)) + L")");
  if (loaded != ManifestLoadResult::kLoaded) return 2;
  // As the settings page does on Install: the chosen folder is created.
  ::CreateDirectoryW(config.installFolder.c_str(), nullptr);
  Print(L"Product: " + config.manifest.fullName + L", language " +
        std::to_wstring(config.uiStrings.currentLanguage) + L", installing into " +
        config.installFolder + (RunOptions().productInstalled ? L" (update)" : L""));

  SetEngineMessageBoxHandler([](HWND, const std::wstring& text, const std::wstring& caption,
                                UINT) {
    Print(L"[message box] " + caption + L": " + text);
    return IDOK;
  });
  const HRESULT com = ::CoInitialize(nullptr);
  OpenInternetSession();
  int phase = Initializing;
  {
    InstallEngine engine;
    BuildInstallPlan(engine);
    for (const auto& item : engine.items) Print(L"  plan: " + item.name + L" <- " + item.url);
    StartInstallation(engine);
    do {
      ::Sleep(1000);
      const ProgressSnapshot snapshot = TakeProgressSnapshot();
      phase = snapshot.phase;
      Print(PercentText(snapshot.percent) + L"  " + snapshot.statusText + L"  " +
            snapshot.timeText);
    } while (!IsFinalPhase(phase));
  }
  CloseInternetSession();
  if (SUCCEEDED(com)) ::CoUninitialize();
  Print(std::wstring(L"Final phase: ") + PhaseName(phase));
  if (!config.productWebPage.empty()) Print(L"Product web page: " + config.productWebPage);
  return phase == Finished ? 0 : 1;
}
