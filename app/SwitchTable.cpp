#include "app/SwitchTable.h"

#include <algorithm>

SwitchTable::SwitchTable() {
  handlers_.emplace("/s", [](InstallOptions& o, const std::wstring&) { o.silent = 1; });
  handlers_.emplace("/n", [](InstallOptions& o, const std::wstring&) { o.noValidation = 1; });
  handlers_.emplace("/l", [](InstallOptions& o, const std::wstring&) { o.launchAfterInstall = 1; });
  handlers_.emplace("/lang",
                    [](InstallOptions& o, const std::wstring& v) { o.languageArgument = v; });
  handlers_.emplace("/v",
                    [](InstallOptions& o, const std::wstring& v) { o.installerProperties = v; });
}

bool SwitchTable::Apply(std::string_view switchText, const std::wstring& value,
                        InstallOptions& options) const {
  const auto found = handlers_.find(std::string(switchText));
  if (found == handlers_.end()) return false;
  found->second(options, value);
  return true;
}

void ApplySwitches(const SwitchTable& table, std::span<const std::wstring> wideArgs,
                   std::span<const std::string> narrowArgs, InstallOptions& options) {
  const size_t count = std::min(wideArgs.size(), narrowArgs.size());
  for (size_t i = 0; i < count; ++i) {
    std::wstring value;
    if (i + 1 < count && !wideArgs[i + 1].empty() && wideArgs[i + 1].front() != L'\\')
      value = wideArgs[i + 1];
    table.Apply(narrowArgs[i], value, options);
  }
}
