// The last act of a run whose version check downloaded a newer installer: start it with "/n".
#pragma once

#include <string>

enum class RelaunchOutcome {
  NotRequested,  // the version check did not ask for it
  FileMissing,   // the downloaded file is gone: nothing to start, nothing to say
  Started,
  Failed,  // the shell could not start it; the user has been told
};

// validatorResult 2 with an existing file at newInstallerPath starts that file with "/n"; a
// failure shows the connect error message.
RelaunchOutcome RelaunchDownloadedInstaller(int validatorResult,
                                            const std::wstring& newInstallerPath);
