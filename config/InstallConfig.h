// The process-wide installation configuration: where the installer runs from, the install
// manifest, the installed copy, the local download folders, the UI language and the user's
// choices. Start-up fills it on the user-interface thread before any worker starts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/InstalledProductInfo.h"
#include "config/LanguageEntry.h"
#include "config/ProductManifest.h"
#include "text/LocalizedStrings.h"

// Result codes of InstallConfig::LoadManifest.
enum class ManifestLoadResult : int {
  kLoaded = 0,
  kManifestUnusable = 1,  // missing, not well-formed, or lacking a required or safe value
  kFoldersNotPrepared = 2,
  kNoExecutablePath = 3,
};

class InstallConfig {
 public:
  static constexpr std::wstring_view kDefaultInstallFolder = L"C:\\Program Files\\QOR Systems";

  std::wstring executableFolder;  // without a trailing backslash
  ProductManifest manifest;
  InstalledProductInfo installedProduct;
  std::wstring manifestPath;
  std::wstring componentFolder;  // all three folders end with a backslash
  std::wstring packageFolder;
  std::wstring transformFolder;
  std::wstring productWebPage;
  LocalizedStrings uiStrings;
  std::int32_t multiLanguage = 1;
  std::vector<LanguageEntry> languages;
  std::wstring installFolder{kDefaultInstallFolder};
  std::int32_t fileAssociation = 0;  // 0, 1 or 2

  // The whole start-up load for the running executable's folder.
  ManifestLoadResult LoadManifest();

  // The same for a given executable folder (no trailing backslash): the local manifest
  // "<folder>\config\manifestKest.xml", the registry override, the required values, the
  // language list, the installed copy and the local folders.
  ManifestLoadResult LoadManifestFrom(std::wstring_view folder);

  // Reads the document at manifestPath into the model; false (model untouched) when the file
  // cannot be read or is not well-formed.
  bool ParseManifest(ProductManifest& model) const;

  // Sets the three download folders and makes sure they exist; the component folder of a
  // non-standalone manifest is first removed when empty.
  bool PrepareLocalFolders();

  // Local path for a downloaded component: tick-prefixed unless the manifest is standalone.
  std::wstring ComponentPath(std::wstring_view name) const;
  std::wstring LanguagePackPath(std::int32_t languageId) const;
  std::wstring PackagePath() const;
  std::wstring TransformPath(std::int32_t languageId) const;

  // Base-language entry, language packs titled from their string files, initial UI language.
  void BuildLanguageList();
  void BuildLanguageList(std::int32_t systemLanguage);

  // Asks Windows Installer for the manifest's product; an installed copy sets productInstalled
  // in the run options and may switch the UI language to the copy's initial language.
  void DetectInstalledProduct();

  // Language ids of the packs recorded for the installed product, in registry order.
  std::vector<std::int32_t> GetInstalledLanguagePacks() const;
};

// The one configuration of the process.
InstallConfig& Configuration();
