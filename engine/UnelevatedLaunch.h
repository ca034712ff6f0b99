// Starts a program as the desktop's user rather than with the installer's elevated rights, by
// asking the desktop shell to start it. The caller has initialised COM on its thread.
#pragma once

#include <string>

// Returns quietly when any step fails (no desktop shell, an interface missing). Answers
// whether the shell accepted the request.
bool LaunchUnelevated(const std::wstring& path);
