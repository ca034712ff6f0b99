#include "engine/PrerequisiteChecks.h"

#include <windows.h>

#include <functional>
#include <string>
#include <unordered_map>

namespace {

using Check = std::function<int()>;

// No check can tell yet that one of these is installed, so each is always run; the installers
// of these runtimes skip what is already there themselves.
const std::unordered_map<std::string, Check>& Checks() {
  static const std::unordered_map<std::string, Check> checks{
      {"webview2.exe", [] { return 0; }},
      {"vc_redist.exe", [] { return 0; }},
      {"bonjour.msi", [] { return 0; }},
  };
  return checks;
}

std::string ToThreadAnsi(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = ::WideCharToMultiByte(
      CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string narrow(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                        size, nullptr, nullptr);
  return narrow;
}

}  // namespace

int IsPrerequisitePresent(std::wstring_view name) {
  const auto found = Checks().find(ToThreadAnsi(name));
  return found == Checks().end() ? 0 : found->second();
}
