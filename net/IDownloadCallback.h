// The receiver of a transfer's progress reports; called on the transferring thread.
#pragma once

#include "net/DownloadStatusInfo.h"

class IDownloadCallback {
 public:
  virtual ~IDownloadCallback() = default;
  // The receiver may fill in the record's bytesTotal before passing it on.
  virtual void OnDownloadStatus(DownloadStatusInfo& record) = 0;
};
