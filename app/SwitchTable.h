// The command-line switches and the walk over the argument vector that applies them.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "app/InstallOptions.h"

class SwitchTable {
 public:
  using Handler = std::function<void(InstallOptions&, const std::wstring& value)>;

  // "/s", "/n", "/l", "/lang" and "/v".
  SwitchTable();

  // Runs the handler of an exact (case-sensitive) switch text; false when it is not a switch.
  bool Apply(std::string_view switchText, const std::wstring& value, InstallOptions& options) const;

 private:
  std::unordered_map<std::string, Handler> handlers_;
};

// Walks every argument from index 0. narrowArgs[i] is wideArgs[i] in the thread's ANSI code
// page and is what gets matched; a switch's value is the next wide argument when there is one,
// it is not empty and does not start with a backslash. An argument used as a value is still
// looked up as a switch in its own turn.
void ApplySwitches(const SwitchTable& table, std::span<const std::wstring> wideArgs,
                   std::span<const std::string> narrowArgs, InstallOptions& options);
