// A download job: one URL into one local file, with its progress passed to a handler.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "net/DownloadStatusInfo.h"
#include "net/IDownloadCallback.h"
#include "net/IDownloadJobOwner.h"

using DownloadStatusHandler = std::function<void(const DownloadStatusInfo&)>;

class CDownloadJob final : public IDownloadCallback {
 public:
  CDownloadJob(std::wstring url, std::wstring localPath)
      : url_(std::move(url)), localPath_(std::move(localPath)) {}

  const std::wstring& Url() const noexcept { return url_; }
  const std::wstring& LocalPath() const noexcept { return localPath_; }
  // The size the server announced; 0 until known.
  std::int64_t Size() const noexcept { return size_; }

  // Puts the announced size into the record and hands it to the handler, if there is one.
  void OnDownloadStatus(DownloadStatusInfo& record) override;

 private:
  friend bool RunDownloadJob(CDownloadJob& job, IDownloadJobOwner* owner,
                             DownloadStatusHandler handler);

  std::wstring url_;
  std::wstring localPath_;
  std::int64_t size_ = 0;
  IDownloadJobOwner* owner_ = nullptr;
  DownloadStatusHandler handler_;
};

// Runs the job to its end on the calling thread, under the owner's cancel and run events.
// Reports: the start (state 2, total 0); the transfer's own reports (one state 2 per chunk, then
// state 3 or 4); the closing report (state 2, done 0, total = size). With the cancel event
// already signalled there is only one report, state 5, and nothing is requested.
// The file is received under a temporary name beside the local path and only a complete file
// is given the local path, so a failed, broken or cancelled job never leaves a partial file
// there. True only when the complete file is in place.
bool RunDownloadJob(CDownloadJob& job, IDownloadJobOwner* owner, DownloadStatusHandler handler);

// The name a job's file has while it is being received.
std::wstring PartialFilePath(const std::wstring& localPath);
