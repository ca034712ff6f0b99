// The window that owns the message boxes of an installation run: the application's main window
// (the wizard), or none when it has no main window (an unattended runner).
#pragma once

#include <windows.h>

HWND RunOwnerWindow() noexcept;
