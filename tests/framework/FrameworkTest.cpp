// The framework layer against real windows: binding, reflection, modal loop, pre-translation,
// the exception barrier and handle ownership.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include "ui/framework/Dialog.h"
#include "ui/framework/UniqueHandle.h"
#include "ui/framework/Window.h"

namespace {

constexpr int kLabel = 901;
constexpr int kButton = 902;
constexpr int kEdit = 903;

// A label that colours itself through the reflected WM_CTLCOLORSTATIC.
class ColourLabel : public fw::CWnd {
 public:
  int reflectedColour = 0;
  fw::UniqueBrush brush{::CreateSolidBrush(RGB(1, 2, 3))};

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case fw::kReflect + WM_CTLCOLORSTATIC:
        ++reflectedColour;
        return reinterpret_cast<LRESULT>(brush.Get());
      default:
        return Default(msg, wp, lp);
    }
  }
};

// A button that sees its own clicks by reflection but lets the parent see other commands, and
// that swallows the key F5 before it is dispatched.
class ProbeButton : public fw::CWnd {
 public:
  int reflectedClicks = 0;
  int keysSeen = 0;
  bool handleClicks = true;
  bool subclassPrepared = false;

 protected:
  void PreSubclassWindow() override { subclassPrepared = m_hWnd != nullptr; }
  bool PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_F5) {
      ++keysSeen;
      return true;
    }
    return false;
  }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case fw::kReflect + WM_COMMAND:
        if (!handleClicks) return Default(msg, wp, lp);
        ++reflectedClicks;
        return 0;
      case WM_USER + 7:
        throw std::runtime_error("handler failure");
      default:
        return Default(msg, wp, lp);
    }
  }
};

class TestDialog : public fw::CDialog {
 public:
  TestDialog() : fw::CDialog(900) {}

  ColourLabel label;
  ProbeButton button;
  fw::CWnd edit;
  int parentCommands = 0;
  int initCalls = 0;
  int okCalls = 0;
  std::function<void(TestDialog&)> script;  // runs once the modal loop is going
  std::function<void(TestDialog&)> later;   // runs on WM_APP + 2
  bool hidden = false;

 protected:
  void DoDataExchange() override {
    Bind(kLabel, label);
    Bind(kButton, button);
    Bind(kEdit, edit);
  }
  BOOL OnInitDialog() override {
    ++initCalls;
    fw::CDialog::OnInitDialog();
    if (hidden) m_showWhenModal = false;
    PostMessageW(WM_APP + 1);
    return TRUE;
  }
  void OnOK() override { ++okCalls; }  // Enter must not end this dialog
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_APP + 1:
        if (script) script(*this);
        return 0;
      case WM_APP + 2:
        if (later) later(*this);
        return 0;
      case WM_COMMAND:
        if (LOWORD(wp) == kButton) {
          ++parentCommands;
          return 0;
        }
        break;
      default:
        break;
    }
    return fw::CDialog::WindowProc(msg, wp, lp);
  }
};

TEST(Dialog, BindsControlsAndReflectsToThem) {
  TestDialog dialog;
  HWND labelWindow = nullptr;
  dialog.script = [&](TestDialog& d) {
    labelWindow = d.label.GetSafeHwnd();
    EXPECT_EQ(fw::CWnd::FromHandle(d.label), &d.label);
    EXPECT_EQ(fw::CWnd::FromHandle(d), &d);
    EXPECT_TRUE(d.button.subclassPrepared);
    // The dialog asks the label for its colours; the label answers through reflection.
    HDC dc = ::GetDC(d.label);
    const LRESULT brush = ::SendMessageW(d, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(d.label.GetSafeHwnd()));
    ::ReleaseDC(d.label, dc);
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(d.label.brush.Get()));
    // A click reaches the button as a reflected command, and not the dialog.
    ::SendMessageW(d.button, BM_CLICK, 0, 0);
    EXPECT_EQ(d.button.reflectedClicks, 1);
    EXPECT_EQ(d.parentCommands, 0);
    // When the button leaves it to default processing, the dialog handles the original.
    d.button.handleClicks = false;
    ::SendMessageW(d.button, BM_CLICK, 0, 0);
    EXPECT_EQ(d.parentCommands, 1);
    d.EndDialog(42);
  };
  EXPECT_EQ(dialog.DoModal(), 42);
  EXPECT_EQ(dialog.initCalls, 1);
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
  EXPECT_EQ(dialog.label.GetSafeHwnd(), nullptr);  // cleared at WM_NCDESTROY
  EXPECT_FALSE(::IsWindow(labelWindow));
}

TEST(Dialog, ModalLoopPreTranslatesAndKeepsEnterForTheDialog) {
  TestDialog dialog;
  dialog.script = [](TestDialog& d) {
    ::SetFocus(d.edit);
    ::PostMessageW(d.button, WM_KEYDOWN, VK_F5, 0);    // swallowed by the button
    ::PostMessageW(d.edit, WM_KEYDOWN, VK_RETURN, 0);  // the dialog manager makes it IDOK
    ::PostMessageW(d, WM_APP + 2, 0, 0);               // arrives after both keys
  };
  dialog.later = [](TestDialog& d) { d.EndDialog(7); };
  EXPECT_EQ(dialog.DoModal(), 7);
  EXPECT_EQ(dialog.button.keysSeen, 1);
  EXPECT_EQ(dialog.okCalls, 1);
}

TEST(Dialog, DestroyingTheWindowEndsTheModalLoop) {
  TestDialog dialog;
  dialog.script = [](TestDialog& d) { d.DestroyWindow(); };
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST(Dialog, CloseBoxCancels) {
  TestDialog dialog;
  dialog.script = [](TestDialog& d) { d.PostMessageW(WM_CLOSE); };
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST(Dialog, HiddenModalDialogStaysHidden) {
  TestDialog dialog;
  dialog.hidden = true;
  bool wasVisible = true;
  dialog.script = [&](TestDialog& d) {
    wasVisible = d.IsWindowVisible();
    d.EndDialog(1);
  };
  EXPECT_EQ(dialog.DoModal(), 1);
  EXPECT_FALSE(wasVisible);
}

TEST(Dialog, ExceptionInAHandlerStaysInsideTheWindowProcedure) {
  TestDialog dialog;
  dialog.script = [](TestDialog& d) {
    ::SendMessageW(d.button, WM_USER + 7, 0, 0);  // throws inside the handler
    EXPECT_TRUE(::IsWindow(d.button));
    d.EndDialog(5);
  };
  EXPECT_EQ(dialog.DoModal(), 5);
}

TEST(Dialog, ChildDialogFromTemplate) {
  TestDialog parent;
  class Page : public fw::CDialog {
   public:
    Page() : fw::CDialog(901) {}
  } page;
  parent.script = [&](TestDialog& d) {
    ASSERT_TRUE(page.Create(d));
    EXPECT_EQ(::GetParent(page), d.GetSafeHwnd());
    EXPECT_TRUE(page.GetStyle() & WS_CHILD);
    EXPECT_NE(page.GetDlgItem(911), nullptr);
    d.EndDialog(3);
  };
  EXPECT_EQ(parent.DoModal(), 3);
  EXPECT_EQ(page.GetSafeHwnd(), nullptr);  // destroyed with its parent
}

// A window of an own class is bound from its creation parameter, before WM_NCCREATE returns.
class OwnWindow : public fw::CWnd {
 public:
  std::vector<UINT> early;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_NCCREATE || msg == WM_CREATE) early.push_back(msg);
    return Default(msg, wp, lp);
  }
};

TEST(Window, OwnClassBindsFromTheCreationParameter) {
  OwnWindow window;
  RECT r{0, 0, 50, 50};
  ASSERT_TRUE(window.CreateEx(0, L"KestTestWindow", L"t", WS_POPUP, r, nullptr, 0));
  EXPECT_EQ(window.early, (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
  EXPECT_EQ(fw::CWnd::FromHandle(window), &window);
  HWND handle = window;
  window.DestroyWindow();
  EXPECT_EQ(window.GetSafeHwnd(), nullptr);
  EXPECT_EQ(fw::CWnd::FromHandle(handle), nullptr);
}

TEST(Window, ObjectDestroyedBeforeItsWindowUnbinds) {
  HWND button = ::CreateWindowExW(0, L"BUTTON", L"b", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
  ASSERT_NE(button, nullptr);
  {
    ProbeButton probe;
    ASSERT_TRUE(probe.SubclassWindow(button));
    EXPECT_FALSE(ProbeButton().SubclassWindow(button));  // one object per window
  }
  EXPECT_EQ(fw::CWnd::FromHandle(button), nullptr);
  ::SendMessageW(button, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"still alive"));
  EXPECT_TRUE(::DestroyWindow(button));
}

TEST(UniqueHandle, ClosingKeepsTheLastErrorAndMovesOwnership) {
  fw::UniqueHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event);
  HANDLE raw = event.Get();
  fw::UniqueHandle moved(std::move(event));
  EXPECT_FALSE(event);
  EXPECT_EQ(moved.Get(), raw);
  ::SetLastError(ERROR_ACCESS_DENIED);
  moved.Reset();
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  DWORD flags = 0;
  EXPECT_FALSE(::GetHandleInformation(raw, &flags));  // really closed
}

TEST(UniqueHandle, FileTraitsTreatInvalidHandleValueAsEmpty) {
  fw::UniqueFile missing(::CreateFileW(L"Z:\\no\\such\\file.bin", GENERIC_READ, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(missing);
  fw::UniqueKey key;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.Put()), ERROR_SUCCESS);
  EXPECT_TRUE(key);
}

}  // namespace
