#include "ui/framework/DebugOutput.h"

#include <windows.h>

#include <cstdarg>
#include <cwchar>
#include <string>

namespace fw {

void DebugOutput(std::wstring_view text) noexcept {
  try {
    const std::wstring line(text);
    ::OutputDebugStringW(line.c_str());
  } catch (...) {
  }
}

void DebugOutputF(const wchar_t* format, ...) noexcept {
  wchar_t buffer[4096];
  va_list args;
  va_start(args, format);
  const int written = std::vswprintf(buffer, sizeof(buffer) / sizeof(buffer[0]), format, args);
  va_end(args);
  if (written < 0) buffer[sizeof(buffer) / sizeof(buffer[0]) - 1] = L'\0';
  ::OutputDebugStringW(buffer);
}

}  // namespace fw
