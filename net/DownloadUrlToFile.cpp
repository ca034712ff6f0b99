#include <algorithm>
#include <memory>

#include "net/HttpClient.h"
#include "net/HttpRequest.h"
#include "net/InternetSession.h"
#include "ui/framework/DebugOutput.h"

namespace {

constexpr DWORD kReadChunk = 4096;
constexpr std::size_t kStagingSize = 40960;
constexpr DWORD kPausePollMilliseconds = 20;
constexpr DWORD kCancelReportDelayMilliseconds = 500;
const wchar_t* const kAcceptTypes[] = {L"*/*", nullptr};

// Collects chunks and writes them to the file as one block, so that the disk is touched about
// once per ten chunks and memory stays the same whatever the file size.
class StagedWriter {
 public:
  explicit StagedWriter(IOutputFile& file)
      : file_(file), buffer_(std::make_unique<unsigned char[]>(kStagingSize)) {}

  unsigned char* Free() noexcept { return buffer_.get() + staged_; }
  void Added(std::size_t count) noexcept { staged_ += count; }
  bool RoomForChunk() const noexcept { return staged_ + kReadChunk <= kStagingSize; }
  bool Empty() const noexcept { return staged_ == 0; }

  bool WriteStaged() {
    {
      const std::lock_guard guard(TransferLock());
      if (!file_.Seek(offset_) || !file_.Write(buffer_.get(), staged_) || !file_.Flush())
        return false;
    }
    offset_ += staged_;
    staged_ = 0;
    return true;
  }

 private:
  IOutputFile& file_;
  std::unique_ptr<unsigned char[]> buffer_;
  std::size_t staged_ = 0;
  std::uint64_t offset_ = 0;
};

// Reads the body into the file. Answers the system error code that ended it, or 0 when it
// reached its end or was cancelled.
DWORD ReceiveBody(HINTERNET request, const ICancelRequest& cancel, StagedWriter& writer,
                  DownloadStatusInfo& record, IDownloadCallback* callback) {
  for (;;) {
    DWORD available = 0;
    if (!::InternetQueryDataAvailable(request, &available, 0, 0)) return TransferFailureCode();
    if (cancel.IsCancelRequested()) break;
    if (cancel.IsPauseRequested()) {
      ::Sleep(kPausePollMilliseconds);
      continue;
    }
    if (available == 0) break;

    DWORD read = 0;
    if (!::InternetReadFile(request, writer.Free(), std::min(available, kReadChunk), &read))
      return TransferFailureCode();
    if (read == 0) break;

    record.state = DownloadState::Transferring;
    record.bytesDone += read;
    if (callback) callback->OnDownloadStatus(record);

    writer.Added(read);
    if ((!writer.RoomForChunk() || read < kReadChunk) && !writer.WriteStaged())
      return TransferFailureCode();
  }
  if (!writer.Empty() && !writer.WriteStaged()) return TransferFailureCode();
  return 0;
}

}  // namespace

bool DownloadUrlToFile(const ICancelRequest& cancel, std::wstring_view url, IOutputFile& file,
                       IDownloadCallback* callback) {
  DownloadStatusInfo record;
  bool complete = false;
  HttpRequest request;
  const RequestOptions options{L"GET", kAcceptTypes, {}, kFileRequestFlags};
  if (request.Send(url, options, record) && !cancel.IsCancelRequested()) {
    const auto status = request.StatusCode();
    if (!status || !IsSuccessStatus(*status)) {
      // An error page must never become the package that is installed next.
      record.errorCode = status.value_or(ERROR_HTTP_INVALID_SERVER_RESPONSE);
      record.message = RequestMessage::kRefusedStatus;
    } else {
      StagedWriter writer(file);
      DWORD failure = ReceiveBody(request.Handle(), cancel, writer, record, callback);
      const auto announced = request.ContentLength();
      if (failure == 0 && !cancel.IsCancelRequested() && announced &&
          record.bytesDone != *announced)
        failure = ERROR_INTERNET_CONNECTION_ABORTED;
      if (failure != 0) {
        record.errorCode = failure;
        record.message = RequestMessage::kTransfer;
      } else {
        complete = true;
      }
    }
    if (record.errorCode != 0)
      fw::DebugOutputF(L"%ls (%lu) after %lld bytes\r\n", record.message.c_str(), record.errorCode,
                       static_cast<long long>(record.bytesDone));
  }

  const bool cancelled = cancel.IsCancelRequested();
  if (cancelled) {
    ::Sleep(kCancelReportDelayMilliseconds);
    record.state = DownloadState::Cancelled;
  } else {
    record.state = DownloadState::Finished;
  }
  if (callback) callback->OnDownloadStatus(record);
  return complete && !cancelled;
}
