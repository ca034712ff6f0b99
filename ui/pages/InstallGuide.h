// The wizard: the installer's main window, hosting the pages.
#pragma once

#include "ui/framework/Dialog.h"

class CInstallGuide : public fw::CDialogEx {
 public:
  CInstallGuide();

 protected:
  BOOL OnInitDialog() override;
};
