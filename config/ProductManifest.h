// The install manifest model: what the installer downloads, runs and shows about the product.
// It is a plain value: copying or assigning one model replaces every field and sequence.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct LanguagePackInfo {
  std::int32_t languageId = 0;
  std::wstring productId;
  std::wstring name;
  std::wstring address;
};

struct DependencyInfo {
  std::wstring name;  // the prerequisite's file name, such as "webview2.exe"
  std::wstring address;
  std::wstring commandLine;
};

struct TransformInfo {
  std::int32_t languageId = 0;
  std::wstring name;
  std::wstring address;
};

// Filled from the server's version document only.
struct InstallerRelease {
  std::wstring productVersion;
  std::wstring minimumInstallerVersion;
  std::wstring installerAddress;
};

struct ProductManifest {
  std::wstring installerVersion;
  std::wstring productCode;
  std::wstring productId;
  std::wstring fullName;
  std::wstring shortName;
  std::wstring registryKey;
  std::int32_t standalone = 0;
  std::wstring standaloneVersion;
  std::wstring versionDocumentAddress;
  std::wstring serverProductCode;
  InstallerRelease freshRelease;
  InstallerRelease patchRelease;
  std::wstring packageName;
  std::wstring packageAddress;
  std::vector<LanguagePackInfo> languagePacks;
  std::vector<DependencyInfo> prerequisites;
  std::vector<TransformInfo> transforms;
  std::wstring executable;
};
