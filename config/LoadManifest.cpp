#include <windows.h>

#include <shlwapi.h>

#include "config/InstallConfig.h"
#include "config/LocalFileName.h"
#include "config/RegistryKey.h"
#include "ui/framework/DebugOutput.h"

namespace {

constexpr wchar_t kOverrideKey[] = L"SOFTWARE\\QOR Systems\\Pictova Kest\\280";
constexpr wchar_t kOverrideValue[] = L"WebInstallerManifest";
constexpr DWORD kModulePathChars = 512;

// Names that become local file names must not reach outside the download folders. Whatever
// the load answers, the model is what later steps work with, so a manifest with such a name
// leaves nothing of itself there.
bool KeepOnlySafeNames(ProductManifest& manifest) {
  bool safe = IsPlainFileName(manifest.packageName);
  for (const DependencyInfo& dependency : manifest.prerequisites)
    safe = safe && IsPlainFileName(dependency.name);
  if (safe) return true;
  fw::DebugOutput(L"Install manifest names a file outside the download folders.\r\n");
  manifest = ProductManifest{};
  return false;
}

}  // namespace

ManifestLoadResult InstallConfig::LoadManifest() {
  wchar_t path[kModulePathChars] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, kModulePathChars);
  // A cut path would name some other folder.
  if (length == 0 || length >= kModulePathChars) return ManifestLoadResult::kNoExecutablePath;
  const std::wstring_view module(path, length);
  const size_t slash = module.rfind(L'\\');
  if (slash == std::wstring_view::npos || slash == 0) return ManifestLoadResult::kNoExecutablePath;
  return LoadManifestFrom(module.substr(0, slash));
}

ManifestLoadResult InstallConfig::LoadManifestFrom(std::wstring_view folder) {
  executableFolder = folder;
  if (executableFolder.empty()) return ManifestLoadResult::kNoExecutablePath;
  manifestPath = executableFolder + L"\\config\\manifestKest.xml";
  if (!ParseManifest(manifest) || !KeepOnlySafeNames(manifest))
    return ManifestLoadResult::kManifestUnusable;

  // A standalone package is used as it is; an override is never itself overridden.
  if (!manifest.standalone) {
    const RegistryKey key(HKEY_CURRENT_USER, kOverrideKey);
    const std::wstring overridePath = key.QueryString(kOverrideValue).value_or(std::wstring());
    if (!overridePath.empty() && ::PathFileExistsW(overridePath.c_str())) {
      manifestPath = overridePath;
      ProductManifest replacement;
      if (!ParseManifest(replacement) || !KeepOnlySafeNames(replacement))
        return ManifestLoadResult::kManifestUnusable;
      manifest = std::move(replacement);
    }
  }

  if (manifest.productId.empty() || manifest.registryKey.empty() || manifest.packageAddress.empty())
    return ManifestLoadResult::kManifestUnusable;

  BuildLanguageList();
  DetectInstalledProduct();
  if (!PrepareLocalFolders()) return ManifestLoadResult::kFoldersNotPrepared;
  return ManifestLoadResult::kLoaded;
}
