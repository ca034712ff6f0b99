// The server's version document ("version.xml"): which releases it offers for a first
// installation and for an update, the installer version each needs at least, and where a newer
// installer is. And the decision made from it at start-up and again before installing.
#pragma once

#include <string>
#include <string_view>

#include "config/ProductManifest.h"

// Reads the document into the release fields of the model (the patch release's product
// version also becomes the standalone version). Elements are read forward in the document's
// order; a value not found leaves its field as it was. False when the path is empty or the file
// does not load as a well-formed document.
bool ReadVersionDocument(std::wstring_view path, ProductManifest& model);
// The same into the process's configuration.
bool ReadVersionDocument(std::wstring_view path);

// Results of CheckVersions.
enum VersionDecision : int {
  kVersionsGoOn = 0,
  kPatchDoesNotApply = 1,  // the installed copy cannot take the offered release
  kInstallerTooOld = 2,
  kInstalledVersionUnknown = 3,
};

struct VersionCheckInputs {
  bool productInstalled = false;
  std::wstring installedVersion;  // empty when none was found
  bool standalone = false;
  std::wstring standaloneVersion;  // the offered update (the patch release's product version)
  std::wstring installerVersion;   // this installer's own version
  std::wstring freshMinimum;       // minimum installer versions of the two releases
  std::wstring patchMinimum;
};

// The decision; only the first, second and fourth numbers of a version take part.
int CheckVersions(const VersionCheckInputs& in);
// The same from the process's configuration and run options.
int CheckVersions();
