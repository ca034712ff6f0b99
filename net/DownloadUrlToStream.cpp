#include <algorithm>
#include <vector>

#include "net/HttpClient.h"
#include "net/HttpRequest.h"
#include "ui/framework/DebugOutput.h"

namespace {

constexpr DWORD kReadChunk = 16384;
const wchar_t* const kAcceptTypes[] = {L"application/xml", L"*/*", nullptr};
constexpr wchar_t kExtraHeader[] = L"Content-Type: application/json";

}  // namespace

bool DownloadUrlToStream(const ICancelRequest& cancel, std::wstring_view url,
                         std::ostream& stream) {
  DownloadStatusInfo record;
  HttpRequest request;
  const RequestOptions options{L"GET", kAcceptTypes, kExtraHeader, kQueryRequestFlags};
  if (!request.Send(url, options, record)) return false;
  if (cancel.IsCancelRequested()) return false;

  // The caller treats what it receives as the version document or as a program to start, so an
  // error page is refused here rather than stored.
  const auto status = request.StatusCode();
  if (!status || !IsSuccessStatus(*status)) {
    fw::DebugOutputF(L"%ls (%lu)\r\n", RequestMessage::kRefusedStatus, status.value_or(0));
    return false;
  }

  std::vector<char> buffer(kReadChunk);
  std::int64_t received = 0;
  DWORD failure = 0;
  for (;;) {
    DWORD available = 0;
    if (!::InternetQueryDataAvailable(request.Handle(), &available, 0, 0)) {
      failure = TransferFailureCode();
      break;
    }
    if (cancel.IsCancelRequested()) return false;
    if (available == 0) break;
    DWORD read = 0;
    if (!::InternetReadFile(request.Handle(), buffer.data(), std::min(available, kReadChunk),
                            &read)) {
      failure = TransferFailureCode();
      break;
    }
    if (read == 0) break;
    received += read;
    if (!stream.write(buffer.data(), read)) {
      failure = ERROR_WRITE_FAULT;
      break;
    }
  }
  const auto announced = request.ContentLength();
  if (failure == 0 && announced && received != *announced)
    failure = ERROR_INTERNET_CONNECTION_ABORTED;
  if (failure == 0 && !stream.flush()) failure = ERROR_WRITE_FAULT;
  if (failure != 0) {
    fw::DebugOutputF(L"%ls (%lu) after %lld bytes\r\n", RequestMessage::kTransfer, failure,
                     static_cast<long long>(received));
    return false;
  }
  return !cancel.IsCancelRequested();
}
