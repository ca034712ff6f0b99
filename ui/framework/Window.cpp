#include "ui/framework/Window.h"

#include <commctrl.h>

#include <exception>

#include "ui/framework/DebugOutput.h"

namespace fw {

namespace {

constexpr UINT_PTR kSubclassId = 0x4B455354;  // one id for every subclass this framework installs

bool IsReflected(UINT msg) {
  return msg >= kReflect && msg < kReflect + 0x400;
}

UINT ObjectQueryMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"Kest.Framework.ObjectQuery");
  return message;
}

HWND ReflectionTarget(HWND parent, UINT msg, WPARAM, LPARAM lp) {
  switch (msg) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<HWND>(lp);
    case WM_COMMAND:
      return reinterpret_cast<HWND>(lp);
    case WM_NOTIFY:
      return lp ? reinterpret_cast<const NMHDR*>(lp)->hwndFrom : nullptr;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
      const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lp);
      return item && item->CtlType != ODT_MENU ? ::GetDlgItem(parent, static_cast<int>(item->CtlID))
                                               : nullptr;
    }
    default:
      return nullptr;
  }
}

}  // namespace

CWnd::~CWnd() {
  // The window may outlive its object; it must never call into freed memory. A window of an
  // own class has no life without its object.
  const HWND window = m_hWnd;
  const bool ownClass = binding_ == Binding::OwnClass;
  ClearBinding();
  if (ownClass && window) ::DestroyWindow(window);
}

CWnd* CWnd::FromHandle(HWND window) noexcept {
  // Bound windows answer the query with their object; others answer 0. Only windows of this
  // thread are asked, so the question never waits on another thread.
  if (!window || ::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId())
    return nullptr;
  return reinterpret_cast<CWnd*>(::SendMessageW(window, ObjectQueryMessage(), 0, 0));
}

bool CWnd::SubclassDlgItem(int id, HWND parent) {
  HWND control = ::GetDlgItem(parent, id);
  return control && SubclassWindow(control);
}

bool CWnd::SubclassWindow(HWND window) {
  if (!window || m_hWnd || FromHandle(window)) return false;
  m_hWnd = window;
  PreSubclassWindow();
  if (!Subclass(window)) {
    m_hWnd = nullptr;
    return false;
  }
  return true;
}

bool CWnd::Subclass(HWND window) noexcept {
  if (!::SetWindowSubclass(window, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    return false;
  m_hWnd = window;
  binding_ = Binding::Subclass;
  return true;
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, std::wstring_view text, DWORD style,
                    const RECT& rect, HWND parent, UINT id) {
  if (m_hWnd) return false;
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (!::GetClassInfoExW(instance, className, &existing)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &OwnClassProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    if (!::RegisterClassExW(&wc)) return false;
  }
  const std::wstring title(text);
  const auto menuOrId =
      (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
  HWND window = ::CreateWindowExW(exStyle, className, title.c_str(), style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent, menuOrId,
                                  instance, this);
  return window != nullptr;
}

void CWnd::SetWindowTextW(std::wstring_view text) const {
  const std::wstring copy(text);
  ::SetWindowTextW(m_hWnd, copy.c_str());
}

std::wstring CWnd::GetWindowTextW() const {
  const int length = ::GetWindowTextLengthW(m_hWnd);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(m_hWnd, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

RECT CWnd::GetClientRect() const noexcept {
  RECT r{};
  ::GetClientRect(m_hWnd, &r);
  return r;
}

RECT CWnd::GetWindowRect() const noexcept {
  RECT r{};
  ::GetWindowRect(m_hWnd, &r);
  return r;
}

void CWnd::ModifyStyle(LONG_PTR remove, LONG_PTR add, bool frameChanged) const noexcept {
  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (GetStyle() & ~remove) | add);
  if (frameChanged)
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CWnd::ModifyStyleEx(LONG_PTR remove, LONG_PTR add, bool frameChanged) const noexcept {
  ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, (GetExStyle() & ~remove) | add);
  if (frameChanged)
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

int CWnd::MessageBoxW(std::wstring_view text, std::wstring_view caption, UINT type) const {
  const std::wstring t(text), c(caption);
  return ::MessageBoxW(m_hWnd, t.c_str(), c.c_str(), type);
}

BOOL CWnd::DestroyWindow() noexcept {
  return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  return Default(msg, wp, lp);
}

LRESULT CWnd::Default(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (IsReflected(msg)) {
    reflectedUnhandled_ = true;
    return 0;
  }
  switch (binding_) {
    case Binding::Subclass:
      return ::DefSubclassProc(m_hWnd, msg, wp, lp);
    case Binding::OwnClass:
      return ::DefWindowProcW(m_hWnd, msg, wp, lp);
    case Binding::None:
      break;
  }
  return m_hWnd ? ::DefWindowProcW(m_hWnd, msg, wp, lp) : 0;
}

bool CWnd::PreTranslateMessage(MSG*) {
  return false;
}

bool CWnd::ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) noexcept {
  HWND target = ReflectionTarget(m_hWnd, msg, wp, lp);
  if (!target || target == m_hWnd) return false;
  CWnd* child = FromHandle(target);
  if (!child) return false;
  const bool outer = child->reflectedUnhandled_;
  child->reflectedUnhandled_ = false;
  result = child->Dispatch(kReflect + msg, wp, lp);
  const bool handled = !child->reflectedUnhandled_;
  child->reflectedUnhandled_ = outer;
  return handled;
}

LRESULT CWnd::Dispatch(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  try {
    LRESULT reflected = 0;
    if (!IsReflected(msg) && ReflectToChild(msg, wp, lp, reflected)) return reflected;
    return WindowProc(msg, wp, lp);
  } catch (const std::exception& e) {
    std::wstring what;
    for (const char* c = e.what(); *c; ++c) what.push_back(static_cast<unsigned char>(*c));
    DebugOutputF(L"Window message 0x%04X failed: %ls\r\n", msg, what.c_str());
  } catch (...) {
    DebugOutputF(L"Window message 0x%04X failed\r\n", msg);
  }
  return Default(msg, wp, lp);
}

void CWnd::ClearBinding() noexcept {
  if (binding_ == Binding::Subclass) ::RemoveWindowSubclass(m_hWnd, SubclassProc, kSubclassId);
  if (binding_ == Binding::OwnClass) ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
  m_hWnd = nullptr;
  binding_ = Binding::None;
}

LRESULT CWnd::Receive(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == ObjectQueryMessage()) return reinterpret_cast<LRESULT>(this);
  const LRESULT result = Dispatch(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    ClearBinding();
    PostNcDestroy();
  }
  return result;
}

LRESULT CALLBACK CWnd::OwnClassProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  auto* self = reinterpret_cast<CWnd*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self && msg == WM_NCCREATE) {
    self = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    if (self) {
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->m_hWnd = window;
      self->binding_ = Binding::OwnClass;
    }
  }
  if (!self) return ::DefWindowProcW(window, msg, wp, lp);
  return self->Receive(msg, wp, lp);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                    DWORD_PTR ref) noexcept {
  auto* self = reinterpret_cast<CWnd*>(ref);
  if (!self || self->m_hWnd != window) return ::DefSubclassProc(window, msg, wp, lp);
  return self->Receive(msg, wp, lp);
}

bool PreTranslateChain(HWND top, MSG* msg) {
  for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
    if (h != top && !::IsChild(top, h)) return false;
    CWnd* window = CWnd::FromHandle(h);
    if (window) {
      try {
        if (window->PreTranslateMessage(msg)) return true;
      } catch (...) {
        DebugOutput(L"Message pre-translation failed\r\n");
      }
    }
    if (h == top) break;
  }
  return false;
}

}  // namespace fw
