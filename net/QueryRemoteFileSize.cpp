#include "net/HttpClient.h"
#include "net/HttpRequest.h"
#include "ui/framework/DebugOutput.h"

namespace {

const wchar_t* const kAcceptTypes[] = {L"application/xml", L"*/*", nullptr};

bool IsRefusedStatus(DWORD status) {
  return status == 403 || status == 404 || status < 200 || status > 500;
}

}  // namespace

std::int64_t QueryRemoteFileSize(std::wstring_view url) {
  DownloadStatusInfo record;
  HttpRequest request;
  const RequestOptions options{nullptr, kAcceptTypes, {}, kQueryRequestFlags};
  if (!request.Send(url, options, record)) return 0;

  const auto status = request.StatusCode();
  if (!status) return 0;
  if (IsRefusedStatus(*status)) {
    record.errorCode = *status;
    record.message = RequestMessage::kRefusedStatus;
    fw::DebugOutputF(L"%ls (%lu)\r\n", record.message.c_str(), record.errorCode);
    return 0;
  }
  return request.ContentLength().value_or(0);
}
