#include "engine/PrerequisiteChecks.h"

#include <functional>
#include <string>
#include <unordered_map>

#include "ui/framework/ThreadAnsi.h"

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

}  // namespace

int IsPrerequisitePresent(std::wstring_view name) {
  const auto found = Checks().find(fw::ToThreadAnsi(name));
  return found == Checks().end() ? 0 : found->second();
}
