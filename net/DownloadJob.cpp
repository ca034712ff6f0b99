#include "net/DownloadJob.h"

#include <windows.h>

#include <exception>

#include "net/CancelRequest.h"
#include "net/HttpClient.h"
#include "net/OutputFile.h"
#include "ui/framework/DebugOutput.h"

namespace {

// Removes the partially received file unless it has been moved into place.
class PartialFile {
 public:
  explicit PartialFile(std::wstring path) : path_(std::move(path)) {}
  PartialFile(const PartialFile&) = delete;
  PartialFile& operator=(const PartialFile&) = delete;
  ~PartialFile() {
    file_.Close();
    if (!placed_) ::DeleteFileW(path_.c_str());
  }

  OutputFile& File() noexcept { return file_; }

  bool Create() { return file_.Create(path_); }

  // Only a file of the announced size is put in place: an answer without a length of its own
  // that ends early would otherwise pass for a complete one.
  bool MoveInto(const std::wstring& localPath, std::int64_t announcedSize) {
    const bool committed = file_.Commit() && SizeIs(announcedSize);
    file_.Close();
    placed_ = committed && ::MoveFileExW(path_.c_str(), localPath.c_str(),
                                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!placed_)
      fw::DebugOutputF(L"Downloaded file not put in place (%lu): %ls\r\n", ::GetLastError(),
                       localPath.c_str());
    return placed_;
  }

 private:
  bool SizeIs(std::int64_t size) const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data)) return false;
    const auto actual =
        static_cast<std::int64_t>((std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow);
    if (actual == size) return true;
    fw::DebugOutputF(L"Downloaded %lld of %lld announced bytes: %ls\r\n", actual, size,
                     path_.c_str());
    return false;
  }

  std::wstring path_;
  OutputFile file_;
  bool placed_ = false;
};

}  // namespace

void CDownloadJob::OnDownloadStatus(DownloadStatusInfo& record) {
  if (!handler_) return;
  if (size_ != 0) record.bytesTotal = size_;
  handler_(record);
}

std::wstring PartialFilePath(const std::wstring& localPath) {
  return localPath + L".partial";
}

bool RunDownloadJob(CDownloadJob& job, IDownloadJobOwner* owner, DownloadStatusHandler handler) {
  if (owner == nullptr) return false;
  job.owner_ = owner;
  job.handler_ = std::move(handler);

  DownloadStatusInfo record;
  const CancelRequest cancel(owner->CancelEvent(), owner->RunEvent());
  bool result = false;

  if (cancel.IsCancelRequested()) {
    record.state = DownloadState::FailedBeforeTransfer;
    try {
      job.OnDownloadStatus(record);
    } catch (...) {
    }
    job.handler_ = nullptr;
    return false;
  }

  try {
    record.state = DownloadState::Transferring;
    job.OnDownloadStatus(record);

    job.size_ = QueryRemoteFileSize(job.url_);
    if (job.size_ != 0) {
      record.bytesDone = 0;
      record.bytesTotal = job.size_;
      PartialFile partial(PartialFilePath(job.localPath_));
      if (partial.Create()) {
        result = DownloadUrlToFile(cancel, job.url_, partial.File(), &job) &&
                 partial.MoveInto(job.localPath_, job.size_);
      } else {
        fw::DebugOutputF(L"Cannot create %ls (%lu)\r\n", job.localPath_.c_str(), ::GetLastError());
      }
    }

    job.OnDownloadStatus(record);
  } catch (...) {
    // Whatever the handler or the transfer threw ends the job; the file is already removed
    // unless it was complete and in place.
    record.state = DownloadState::FailedBeforeTransfer;
    try {
      job.OnDownloadStatus(record);
    } catch (...) {
    }
  }

  job.handler_ = nullptr;
  return result;
}
