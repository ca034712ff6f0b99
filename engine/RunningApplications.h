// Asks the user to close watched applications before the installation starts.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

struct WatchedApplication {
  std::wstring_view semaphoreName;  // the application holds a semaphore of this name
  std::wstring_view displayName;
};

// The applications whose files the product package replaces: the product itself and its
// companion background program.
const std::vector<WatchedApplication>& WatchedApplications();

// The display names of the watched applications that run now, in table order.
std::vector<std::wstring> FindRunningApplications(const std::vector<WatchedApplication>& table);

// 1 when none runs (any more), 0 when some still run and the user gave up (Cancel).
int CheckRunningApplications(const std::wstring& caption, HWND owner,
                             const std::vector<WatchedApplication>& table = WatchedApplications());
