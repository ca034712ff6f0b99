// Started by the tests in place of a downloaded installer, a prerequisite program or a language
// pack: writes its command line (UTF-16) to a file named after itself plus ".cmdline".
#include <windows.h>

#include <string>

int main() {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  const std::wstring marker = std::wstring(path) + L".cmdline";
  HANDLE file = ::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 2;
  const wchar_t* commandLine = ::GetCommandLineW();
  DWORD written = 0;
  ::WriteFile(file, commandLine, static_cast<DWORD>(wcslen(commandLine) * sizeof(wchar_t)),
              &written, nullptr);
  ::CloseHandle(file);
  return 0;
}
