// The product package through the Windows Installer API: its own dialogs off, its messages to
// our handler, which turns progress into the item's percentage and reads the product's web
// address from the log.
#include <windows.h>
#include <msi.h>
#include <shlwapi.h>

#include <string>

#include "app/RunOptions.h"
#include "config/InstallConfig.h"
#include "engine/InstallEngine.h"
#include "engine/InstallPhase.h"
#include "engine/InstallerLogLine.h"
#include "engine/MessageBoxSeam.h"
#include "engine/PackageProperties.h"
#include "engine/RunOwner.h"
#include "ui/framework/DebugOutput.h"

namespace {

constexpr DWORD kMessageFilter = 0x8007FDF;

int HandleProgress(InstallEngine& engine, const wchar_t* text) {
  if (const auto message = ParseProgressMessage(text)) {
    if (const auto reported = engine.installerProgress.Apply(*message))
      ReportProgress(Installing, engine.installIndex, *reported);
  }
  return engine.answerCancel ? IDCANCEL : IDOK;
}

}  // namespace

int HandleInstallerMessage(InstallEngine& engine, UINT type, const wchar_t* text) {
  if (engine.firstMessagePending) {
    ::MsiSetInternalUI(INSTALLUILEVEL_BASIC, nullptr);
    engine.firstMessagePending = false;
  }
  if (!text) return 0;
  fw::DebugOutputF(L"\r\n %ls", text);
  switch (static_cast<INSTALLMESSAGE>(type & 0xFF000000)) {
    case INSTALLMESSAGE_FATALEXIT:
    case INSTALLMESSAGE_ERROR:
    case INSTALLMESSAGE_OUTOFDISKSPACE: {
      const int answer = ShowEngineMessageBox(
          RunOwnerWindow(), text, Configuration().manifest.shortName, type & 0x00FFFFFF);
      if (answer == IDCANCEL) engine.runError = kRunErrorUserCancel;
      return answer;
    }
    case INSTALLMESSAGE_INFO:
      if (engine.capturedProductUrl.empty()) {
        if (auto url = ParseHomepageLogLine(text)) engine.capturedProductUrl = std::move(*url);
      }
      return IDOK;
    case INSTALLMESSAGE_FILESINUSE:
    case INSTALLMESSAGE_RESOLVESOURCE:
      return 0;
    case INSTALLMESSAGE_PROGRESS:
      return HandleProgress(engine, text);
    case INSTALLMESSAGE_WARNING:
    case INSTALLMESSAGE_USER:
    case INSTALLMESSAGE_ACTIONSTART:
    case INSTALLMESSAGE_ACTIONDATA:
    case INSTALLMESSAGE_COMMONDATA:
    case INSTALLMESSAGE_INITIALIZE:
    case INSTALLMESSAGE_TERMINATE:
    case INSTALLMESSAGE_SHOWDIALOG:
    case INSTALLMESSAGE_INSTALLEND:
      return IDOK;
    default:
      return 0;
  }
}

namespace {

int CALLBACK MessageHandler(LPVOID context, UINT type, LPCWSTR text) noexcept {
  try {
    return HandleInstallerMessage(*static_cast<InstallEngine*>(context), type, text);
  } catch (...) {
    return 0;  // no opinion: Windows Installer goes on with its default
  }
}

}  // namespace

bool InstallPackage(InstallEngine& engine, const InstallItem& item) {
  engine.installerProgress.StartPackage();
  engine.firstMessagePending = true;
  // Nothing takes a confirmed cancel back, so the answer is never cleared here: a cancel
  // confirmed while this package starts must still stop it.
  if (engine.stopRequested) engine.answerCancel = 1;
  ::MsiSetInternalUI(
      static_cast<INSTALLUILEVEL>(INSTALLUILEVEL_NONE | INSTALLUILEVEL_SOURCERESONLY), nullptr);
  ::MsiSetExternalUIW(&MessageHandler, kMessageFilter, &engine);

  const InstallConfig& config = Configuration();
  const InstallOptions& options = RunOptions();
  PackagePropertyInputs in;
  in.productInstalled = options.productInstalled != 0;
  in.installFolder = config.installFolder;
  in.installFolderExists = ::PathFileExistsW(config.installFolder.c_str()) != FALSE;
  in.installerProperties = options.installerProperties;
  in.multiLanguage = config.multiLanguage != 0;
  in.languageId = config.uiStrings.currentLanguage;
  in.transformFolder = config.transformFolder;
  in.associationChoice = config.fileAssociation;
  const std::wstring properties = BuildPackageProperties(in);

  const UINT result = ::MsiInstallProductW(item.localPath.c_str(),
                                           properties.empty() ? nullptr : properties.c_str());
  if (result == ERROR_SUCCESS) return true;
  fw::DebugOutputF(L"KOBAR_DEBUG: MSI Installation failed. Error Code: %d\r\n",
                   static_cast<int>(result));
  return result == ERROR_SUCCESS_REBOOT_REQUIRED;
}
