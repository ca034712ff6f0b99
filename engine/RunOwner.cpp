#include "engine/RunOwner.h"

#include "ui/framework/Application.h"
#include "ui/framework/Window.h"

HWND RunOwnerWindow() noexcept {
  const fw::CWinApp* app = fw::CWinApp::Current();
  return app && app->m_pMainWnd ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
}
