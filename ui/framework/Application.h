// CWinApp: the application object. The program builds one statically; the entry point runs
// InitInstance, the message loop only when InitInstance answers TRUE, and always ExitInstance.
#pragma once

#include <windows.h>

namespace fw {

class CWnd;

class CWinApp {
 public:
  CWinApp() noexcept;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;
  virtual ~CWinApp();

  // The one application object of the process (null before its construction).
  static CWinApp* Current() noexcept;

  // Base: common controls initialised; TRUE.
  virtual BOOL InitInstance();
  // Base: answers the exit code (the WM_QUIT code, 0 when no loop ran).
  virtual int ExitInstance();
  // The message loop, until WM_QUIT.
  virtual int Run();

  HINSTANCE m_hInstance = nullptr;
  CWnd* m_pMainWnd = nullptr;

 protected:
  int m_exitCode = 0;
};

// Called by the program's entry point.
int RunApplication(HINSTANCE instance) noexcept;

}  // namespace fw
