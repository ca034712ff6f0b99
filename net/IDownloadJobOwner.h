// What runs download jobs (the installation engine): it owns the manual-reset events through
// which the user-interface thread cancels (signals the cancel event) and pauses (resets the run
// event) a transfer. Either may be null, which means "never".
#pragma once

#include <windows.h>

class IDownloadJobOwner {
 public:
  virtual ~IDownloadJobOwner() = default;
  virtual HANDLE CancelEvent() const = 0;
  virtual HANDLE RunEvent() const = 0;
};
