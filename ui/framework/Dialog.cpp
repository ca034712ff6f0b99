#include "ui/framework/Dialog.h"

#include "ui/framework/DebugOutput.h"

namespace fw {

INT_PTR CDialog::DoModal(HWND owner) {
  if (m_hWnd) return -1;
  modal_ = true;
  continueModal_ = true;
  result_ = IDCANCEL;
  HWND window = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_),
                                     owner, &DialogProc, reinterpret_cast<LPARAM>(this));
  if (!window) {
    modal_ = false;
    return -1;
  }
  const bool disableOwner = owner && ::IsWindowEnabled(owner);
  if (disableOwner) ::EnableWindow(owner, FALSE);
  if (m_hWnd && continueModal_ && m_showWhenModal && !IsWindowVisible()) ShowWindow(SW_SHOWNORMAL);

  MSG msg;
  while (continueModal_ && m_hWnd) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));  // leave WM_QUIT for the outer loop
      break;
    }
    if (PreTranslateChain(window, &msg)) continue;
    if (m_hWnd && ::IsDialogMessageW(window, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }

  // The owner is enabled before the dialog goes so that it gets the activation back.
  if (disableOwner) ::EnableWindow(owner, TRUE);
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  modal_ = false;
  return result_;
}

bool CDialog::Create(HWND parent) {
  if (m_hWnd) return false;
  modal_ = false;
  return ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent,
                              &DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(INT_PTR result) noexcept {
  result_ = result;
  if (modal_) {
    continueModal_ = false;
    if (m_hWnd) ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wake the loop
  } else if (m_hWnd) {
    ShowWindow(SW_HIDE);
  }
}

BOOL CDialog::OnInitDialog() {
  DoDataExchange();
  return TRUE;
}

LRESULT CDialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && (HIWORD(wp) == BN_CLICKED || HIWORD(wp) == 1)) {
    switch (LOWORD(wp)) {
      case IDOK:
        OnOK();
        return 0;
      case IDCANCEL:
        OnCancel();
        return 0;
      default:
        break;
    }
  }
  return Default(msg, wp, lp);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT msg, WPARAM, LPARAM lp) noexcept {
  if (msg != WM_INITDIALOG) return FALSE;  // everything else reaches the object by the subclass
  auto* self = reinterpret_cast<CDialog*>(lp);
  if (!self) return TRUE;
  ::SetWindowLongPtrW(window, DWLP_USER, lp);
  if (!self->Subclass(window)) {
    DebugOutput(L"Dialog could not be bound to its object\r\n");
    return TRUE;
  }
  try {
    return self->OnInitDialog();
  } catch (...) {
    DebugOutputF(L"Initialisation of dialog %u failed\r\n", self->templateId_);
  }
  return TRUE;
}

void CDialogEx::SetBackgroundColor(COLORREF color) {
  backgroundBrush_.Reset(::CreateSolidBrush(color));
  if (m_hWnd) Invalidate();
}

LRESULT CDialogEx::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CTLCOLORDLG:
      if (backgroundBrush_) return reinterpret_cast<LRESULT>(backgroundBrush_.Get());
      break;
    case WM_ERASEBKGND:
      if (backgroundBrush_) {
        RECT r = GetClientRect();
        ::FillRect(reinterpret_cast<HDC>(wp), &r, backgroundBrush_.Get());
        return TRUE;
      }
      break;
    default:
      break;
  }
  return CDialog::WindowProc(msg, wp, lp);
}

}  // namespace fw
