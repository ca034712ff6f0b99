// CDialog: a dialog from a template, run modally with our own loop (so that bound windows can
// pre-translate messages) or created as a child page. CDialogEx adds a background colour.
//
// The object binds to the dialog at WM_INITDIALOG (creation parameter, DWLP_USER) and from then
// on sees every message through a subclass, with Default() leading to the dialog manager.
#pragma once

#include <windows.h>

#include "ui/framework/UniqueHandle.h"
#include "ui/framework/Window.h"

namespace fw {

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId) : templateId_(templateId) {}

  // Creates the dialog, disables the owner, runs the modal loop until EndDialog or until the
  // window is destroyed, then destroys the window. Answers the EndDialog result (IDCANCEL when
  // the window was destroyed), or -1 when the dialog could not be created.
  INT_PTR DoModal(HWND owner = nullptr);

  // Creates the dialog as a modeless window (a child when the template says WS_CHILD).
  bool Create(HWND parent);

  // Ends the modal loop with this result.
  void EndDialog(INT_PTR result) noexcept;

  UINT TemplateId() const noexcept { return templateId_; }
  bool IsModal() const noexcept { return modal_; }

 protected:
  // After the controls are bound; the answer is WM_INITDIALOG's (TRUE: default focus).
  virtual BOOL OnInitDialog();
  // Binds template controls to member objects with Bind().
  virtual void DoDataExchange() {}
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }

  bool Bind(int controlId, CWnd& control) { return control.SubclassDlgItem(controlId, m_hWnd); }

  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

  // A modal dialog is shown when its initialisation has run, unless this was cleared there.
  bool m_showWhenModal = true;

 private:
  static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM) noexcept;

  UINT templateId_;
  bool modal_ = false;
  bool continueModal_ = false;
  INT_PTR result_ = IDCANCEL;
};

class CDialogEx : public CDialog {
 public:
  using CDialog::CDialog;

  // Paints the client background in this colour (and answers WM_CTLCOLORDLG with its brush).
  void SetBackgroundColor(COLORREF color);

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  UniqueBrush backgroundBrush_;
};

}  // namespace fw
