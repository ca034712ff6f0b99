#include "ui/framework/ThreadAnsi.h"

#include <windows.h>

namespace fw {

std::string ToThreadAnsi(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size =
      ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string narrow(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), length, narrow.data(), size, nullptr,
                        nullptr);
  return narrow;
}

}  // namespace fw
