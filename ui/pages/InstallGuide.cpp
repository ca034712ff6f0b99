#include "ui/pages/InstallGuide.h"

#include "config/InstallConfig.h"
#include "res/resource.h"

CInstallGuide::CInstallGuide() : fw::CDialogEx(IDD_INSTALL_GUIDE) {}

BOOL CInstallGuide::OnInitDialog() {
  fw::CDialogEx::OnInitDialog();
  HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APPLICATION_ICON));
  SendMessageW(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  SetWindowTextW(Configuration().manifest.fullName);
  return TRUE;
}
