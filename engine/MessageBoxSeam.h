// Every message box the engine shows goes through here, so that tests can read what would be
// shown and give the answer instead of a person.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

using MessageBoxHandler = std::function<int(HWND owner, const std::wstring& text,
                                            const std::wstring& caption, UINT style)>;

int ShowEngineMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                         UINT style);

// Replaces the real message box; an empty handler restores it. Set it before a run starts.
void SetEngineMessageBoxHandler(MessageBoxHandler handler);
