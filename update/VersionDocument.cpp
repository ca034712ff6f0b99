#include "update/VersionDocument.h"

#include "app/RunOptions.h"
#include "config/InstallConfig.h"
#include "config/ProductVersion.h"
#include "xml/XmlDocument.h"

namespace {

// Finds a child of the main element, reads its text and steps back out.
bool ReadChild(CXmlDocument& doc, std::wstring_view name, std::wstring& field) {
  if (!doc.FindChildElement(name)) return false;
  doc.EnterElement();
  field = doc.GetElementText(doc.GetMainPosition());
  doc.LeaveElement();
  return true;
}

// Answers whether the product version was found.
bool ReadRelease(CXmlDocument& doc, InstallerRelease& release) {
  const bool version = ReadChild(doc, L"product_version", release.productVersion);
  ReadChild(doc, L"min_web_installer_version", release.minimumInstallerVersion);
  ReadChild(doc, L"web_installer_download_url", release.installerAddress);
  return version;
}

// Same first number, minimum's second at least ours, minimum's fourth above ours.
bool MinimumIsNewerRevision(const ProductVersion& own, const ProductVersion& minimum) {
  return own.major == minimum.major && minimum.minor >= own.minor &&
         minimum.revision > own.revision;
}

}  // namespace

bool ReadVersionDocument(std::wstring_view path, ProductManifest& model) {
  if (path.empty()) return false;
  CXmlDocument doc;
  if (!doc.Load(path)) return false;
  if (!doc.FindElement(L"qorwebinstaller")) return true;
  ReadChild(doc, L"product_code", model.serverProductCode);
  doc.EnterElement();
  if (doc.FindElement(L"fresh_install")) ReadRelease(doc, model.freshRelease);
  if (doc.FindElement(L"patch_install") && ReadRelease(doc, model.patchRelease))
    model.standaloneVersion = model.patchRelease.productVersion;
  return true;
}

bool ReadVersionDocument(std::wstring_view path) {
  return ReadVersionDocument(path, Configuration().manifest);
}

int CheckVersions(const VersionCheckInputs& in) {
  const ProductVersion own = ProductVersion::Parse(in.installerVersion);
  if (in.productInstalled) {
    if (in.installedVersion.empty()) return kInstalledVersionUnknown;
    if (!IsPatchVersion(in.installedVersion, in.standaloneVersion)) return kPatchDoesNotApply;
    if (in.standalone) return kVersionsGoOn;
    const ProductVersion minimum = ProductVersion::Parse(in.patchMinimum);
    return MinimumIsNewerRevision(own, minimum) ? kInstallerTooOld : kVersionsGoOn;
  }
  if (in.standalone) return kVersionsGoOn;
  const ProductVersion minimum = ProductVersion::Parse(in.freshMinimum);
  const bool tooOld = minimum.major > own.major || MinimumIsNewerRevision(own, minimum);
  return tooOld ? kInstallerTooOld : kVersionsGoOn;
}

int CheckVersions() {
  const InstallConfig& config = Configuration();
  VersionCheckInputs in;
  in.productInstalled = RunOptions().productInstalled != 0;
  in.installedVersion = config.installedProduct.version;
  in.standalone = config.manifest.standalone != 0;
  in.standaloneVersion = config.manifest.standaloneVersion;
  in.installerVersion = config.manifest.installerVersion;
  in.freshMinimum = config.manifest.freshRelease.minimumInstallerVersion;
  in.patchMinimum = config.manifest.patchRelease.minimumInstallerVersion;
  return CheckVersions(in);
}
