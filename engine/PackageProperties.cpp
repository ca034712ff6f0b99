#include "engine/PackageProperties.h"

std::wstring_view ShellIntegrationLevel(int associationChoice) noexcept {
  switch (associationChoice) {
    case 0:
      return L"All";
    case 1:
      return L"Free";
    case 2:
      return L"None";
    default:
      return {};
  }
}

std::wstring BuildPackageProperties(const PackagePropertyInputs& in) {
  std::wstring text;
  if (!in.productInstalled) {
    if (in.installFolderExists &&
        in.installerProperties.find(L"INSTALLDIR") == std::wstring::npos) {
      std::wstring folder = in.installFolder;
      if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
      text = L"INSTALLDIR=\"" + folder + L"\"";
    }
  } else {
    text = L"REINSTALL=ALL REINSTALLMODE=vomus REBOOT=ReallySuppress";
  }
  if (in.multiLanguage && in.languageId != 1033) {
    text += L" TRANSFORMS=\"" + in.transformFolder + std::to_wstring(in.languageId) + L".mst\"";
  }
  text += L" SHELL_INTEGRATION_LEVEL=\"";
  text += ShellIntegrationLevel(in.associationChoice);
  text += L"\"";
  if (!in.installerProperties.empty()) text += L" " + in.installerProperties;
  return text;
}
