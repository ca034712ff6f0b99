// Runs a prerequisite: a Windows Installer package through msiexec (waited for at most 30
// seconds), anything else as a process (waited for to its end).
#pragma once

#include "engine/InstallItem.h"

// 1 when a process was started, else 0.
int RunProgram(const InstallItem& item);
