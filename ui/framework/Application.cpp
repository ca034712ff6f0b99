#include "ui/framework/Application.h"

#include <commctrl.h>

#include "ui/framework/DebugOutput.h"

namespace fw {

namespace {
CWinApp* g_application = nullptr;  // the process's one application object
}

CWinApp::CWinApp() noexcept {
  g_application = this;
}

CWinApp::~CWinApp() {
  if (g_application == this) g_application = nullptr;
}

CWinApp* CWinApp::Current() noexcept {
  return g_application;
}

BOOL CWinApp::InitInstance() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS;
  ::InitCommonControlsEx(&controls);
  return TRUE;
}

int CWinApp::ExitInstance() {
  return m_exitCode;
}

int CWinApp::Run() {
  MSG msg;
  BOOL got;
  while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) != 0 && got != -1) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (got == 0) m_exitCode = static_cast<int>(msg.wParam);
  return m_exitCode;
}

int RunApplication(HINSTANCE instance) noexcept {
  CWinApp* app = CWinApp::Current();
  if (!app) return 1;
  app->m_hInstance = instance;
  try {
    if (app->InitInstance()) app->Run();
    return app->ExitInstance();
  } catch (...) {
    DebugOutput(L"Unhandled exception in the application object\r\n");
  }
  return 1;
}

}  // namespace fw
