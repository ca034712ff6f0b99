#include <windows.h>

#include "app/RunOptions.h"
#include "config/BaseLanguage.h"
#include "config/InstallConfig.h"

void InstallConfig::BuildLanguageList() {
  BuildLanguageList(static_cast<std::int32_t>(::GetUserDefaultUILanguage()));
}

void InstallConfig::BuildLanguageList(std::int32_t systemLanguage) {
  uiStrings.languageFolder = executableFolder + L"\\language\\";
  languages.clear();

  const BaseLanguage base = BaseLanguageForProductId(manifest.productId);
  languages.push_back({std::wstring(base.displayName), base.languageId});
  // A pack's own name is not shown; its title comes from its language's string file.
  for (const LanguagePackInfo& pack : manifest.languagePacks)
    languages.push_back({uiStrings.GetLanguageTitle(pack.languageId), pack.languageId});

  if (const auto initial =
          ChooseInitialLanguage(languages, base, RunOptions().languageArgument, systemLanguage))
    uiStrings.currentLanguage = static_cast<std::uint32_t>(*initial);

  if (languages.size() < 2) multiLanguage = 0;
}
