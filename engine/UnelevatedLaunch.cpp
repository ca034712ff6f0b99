#include "engine/UnelevatedLaunch.h"

#include <windows.h>
#include <exdisp.h>
#include <shldisp.h>
#include <shlobj.h>
#include <shlguid.h>
#include <servprov.h>

#include "ui/framework/UniqueHandle.h"

namespace {

// VARIANT that clears itself.
struct Variant {
  VARIANT v;
  Variant() { ::VariantInit(&v); }
  ~Variant() { ::VariantClear(&v); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
};

struct Bstr {
  BSTR s;
  explicit Bstr(const std::wstring& text)
      : s(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~Bstr() { ::SysFreeString(s); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
};

}  // namespace

bool LaunchUnelevated(const std::wstring& path) {
  fw::ComPtr<IShellWindows> windows;
  if (FAILED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows,
                                windows.PutVoid())))
    return false;

  Variant location, root;
  location.v.vt = VT_I4;
  location.v.lVal = CSIDL_DESKTOP;
  long desktopWindow = 0;
  fw::ComPtr<IDispatch> desktop;
  if (windows->FindWindowSW(&location.v, &root.v, SWC_DESKTOP, &desktopWindow, SWFO_NEEDDISPATCH,
                            desktop.Put()) != S_OK ||
      !desktop)
    return false;

  fw::ComPtr<IServiceProvider> services;
  if (FAILED(desktop->QueryInterface(IID_IServiceProvider, services.PutVoid()))) return false;
  fw::ComPtr<IShellBrowser> browser;
  if (FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.PutVoid())))
    return false;
  fw::ComPtr<IShellView> view;
  if (FAILED(browser->QueryActiveShellView(view.Put())) || !view) return false;

  fw::ComPtr<IDispatch> background;
  if (FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.PutVoid())))
    return false;
  fw::ComPtr<IShellFolderViewDual> folderView;
  if (FAILED(background->QueryInterface(IID_IShellFolderViewDual, folderView.PutVoid())))
    return false;
  fw::ComPtr<IDispatch> application;
  if (FAILED(folderView->get_Application(application.Put())) || !application) return false;
  fw::ComPtr<IShellDispatch2> shell;
  if (FAILED(application->QueryInterface(IID_IShellDispatch2, shell.PutVoid()))) return false;

  Bstr file(path);
  Variant arguments, directory, operation, show;
  arguments.v.vt = directory.v.vt = operation.v.vt = VT_BSTR;
  arguments.v.bstrVal = ::SysAllocString(L"");
  directory.v.bstrVal = ::SysAllocString(L"");
  operation.v.bstrVal = ::SysAllocString(L"");
  show.v.vt = VT_I4;
  show.v.lVal = SW_SHOWNORMAL;
  return SUCCEEDED(shell->ShellExecute(file.s, arguments.v, directory.v, operation.v, show.v));
}
