// CWnd: a C++ object bound to one window. Three ways to bind, none with machine-code thunks:
// own window classes pass the object as the creation parameter and keep it in GWLP_USERDATA;
// template controls and dialogs are subclassed with SetWindowSubclass, the object being the
// reference data. The binding is cleared at WM_NCDESTROY.
//
// Each class handles its messages in one virtual WindowProc (a plain switch) and passes what it
// does not handle to Default(). Parents reflect WM_CTLCOLOR*, WM_DRAWITEM, WM_MEASUREITEM,
// WM_COMMAND and WM_NOTIFY to a bound child as kReflect + message; when the child's WindowProc
// sends a reflected message to Default(), the parent handles the original itself.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace fw {

inline constexpr UINT kReflect = 0x2000;  // the platform's OCM_BASE

class CWnd {
 public:
  CWnd() = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
  virtual ~CWnd();

  HWND GetSafeHwnd() const noexcept { return m_hWnd; }
  operator HWND() const noexcept { return m_hWnd; }

  // The bound object of a window, or null (not bound, or bound by another mechanism).
  static CWnd* FromHandle(HWND window) noexcept;

  // Binds this object to a control of a dialog (or any existing window) by subclassing it.
  bool SubclassDlgItem(int id, HWND parent);
  bool SubclassWindow(HWND window);

  // Creates a window of an own class (registered once per class name with default attributes,
  // arrow cursor and no background brush) bound to this object.
  bool CreateEx(DWORD exStyle, const wchar_t* className, std::wstring_view text, DWORD style,
                const RECT& rect, HWND parent, UINT id);

  // Thin conveniences over the window functions.
  LRESULT SendMessageW(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const noexcept {
    return ::SendMessageW(m_hWnd, msg, wp, lp);
  }
  BOOL PostMessageW(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const noexcept {
    return ::PostMessageW(m_hWnd, msg, wp, lp);
  }
  void SetWindowTextW(std::wstring_view text) const;
  std::wstring GetWindowTextW() const;
  RECT GetClientRect() const noexcept;
  RECT GetWindowRect() const noexcept;
  HWND GetDlgItem(int id) const noexcept { return ::GetDlgItem(m_hWnd, id); }
  HWND GetParent() const noexcept { return ::GetParent(m_hWnd); }
  LONG_PTR GetStyle() const noexcept { return ::GetWindowLongPtrW(m_hWnd, GWL_STYLE); }
  LONG_PTR GetExStyle() const noexcept { return ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE); }
  // Removes then adds style bits; with frameChanged the non-client area is recalculated.
  void ModifyStyle(LONG_PTR remove, LONG_PTR add, bool frameChanged = false) const noexcept;
  void ModifyStyleEx(LONG_PTR remove, LONG_PTR add, bool frameChanged = false) const noexcept;
  BOOL ShowWindow(int command) const noexcept { return ::ShowWindow(m_hWnd, command); }
  BOOL IsWindowVisible() const noexcept { return ::IsWindowVisible(m_hWnd); }
  void Invalidate(bool erase = true) const noexcept { ::InvalidateRect(m_hWnd, nullptr, erase); }
  void UpdateWindow() const noexcept { ::UpdateWindow(m_hWnd); }
  BOOL MoveWindow(const RECT& r, bool repaint = true) const noexcept {
    return ::MoveWindow(m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, repaint);
  }
  UINT_PTR SetTimer(UINT_PTR id, UINT milliseconds) const noexcept {
    return ::SetTimer(m_hWnd, id, milliseconds, nullptr);
  }
  BOOL KillTimer(UINT_PTR id) const noexcept { return ::KillTimer(m_hWnd, id); }
  int MessageBoxW(std::wstring_view text, std::wstring_view caption, UINT type) const;
  BOOL DestroyWindow() noexcept;

 protected:
  // The class's message handler; what it does not handle goes to Default().
  virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
  // The processing the window would have had without this object.
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) noexcept;
  // Called for every message of the modal loop whose target is this window or a child of it,
  // innermost first; true consumes the message.
  virtual bool PreTranslateMessage(MSG* msg);
  // Called before the object is bound to an existing window by subclassing.
  virtual void PreSubclassWindow() {}
  // Last message of the window; the binding is already cleared.
  virtual void PostNcDestroy() {}

  HWND m_hWnd = nullptr;

 private:
  enum class Binding { None, OwnClass, Subclass };

  // Every message of a bound window: answers the object query, dispatches, and unbinds at
  // WM_NCDESTROY.
  LRESULT Receive(UINT msg, WPARAM wp, LPARAM lp) noexcept;
  // Runs one message through reflection, WindowProc and the exception barrier.
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp) noexcept;
  bool ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) noexcept;
  void ClearBinding() noexcept;
  bool Subclass(HWND window) noexcept;

  static LRESULT CALLBACK OwnClassProc(HWND, UINT, WPARAM, LPARAM) noexcept;
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;

  Binding binding_ = Binding::None;
  bool reflectedUnhandled_ = false;

  friend class CDialog;
  friend bool PreTranslateChain(HWND top, MSG* msg);
};

// Offers a message of a modal loop to the bound windows from its target up to top.
bool PreTranslateChain(HWND top, MSG* msg);

}  // namespace fw
