#include <windows.h>

#include "app/InstallerApp.h"
#include "ui/framework/Application.h"

// The one application object, built before the entry point runs.
CQORMasterInstallerApp theApp;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  return fw::RunApplication(instance);
}
