#include "net/HttpRequest.h"

#include <memory>
#include <string>

#include "net/InternetSession.h"
#include "ui/framework/DebugOutput.h"

namespace {

constexpr DWORD kComponentLength = 4096;

// The parts of a split URL, each in its own buffer.
struct UrlParts {
  wchar_t scheme[kComponentLength];
  wchar_t host[kComponentLength];
  wchar_t user[kComponentLength];
  wchar_t password[kComponentLength];
  wchar_t path[kComponentLength];
  wchar_t extra[kComponentLength];
  URL_COMPONENTSW components{};

  bool Crack(const std::wstring& url) {
    components.dwStructSize = sizeof(components);
    components.lpszScheme = scheme;
    components.dwSchemeLength = kComponentLength;
    components.lpszHostName = host;
    components.dwHostNameLength = kComponentLength;
    components.lpszUserName = user;
    components.dwUserNameLength = kComponentLength;
    components.lpszPassword = password;
    components.dwPasswordLength = kComponentLength;
    components.lpszUrlPath = path;
    components.dwUrlPathLength = kComponentLength;
    components.lpszExtraInfo = extra;
    components.dwExtraInfoLength = kComponentLength;
    return ::InternetCrackUrlW(url.c_str(), 0, 0, &components) != FALSE;
  }
};

void RecordFailure(DownloadStatusInfo& record, DWORD error, const wchar_t* message) {
  record.errorCode = error;
  record.message = message;
}

}  // namespace

bool HttpRequest::Send(std::wstring_view url, const RequestOptions& options,
                       DownloadStatusInfo& record) {
  auto parts = std::make_unique<UrlParts>();
  if (!parts->Crack(std::wstring(url))) {
    RecordFailure(record, ::GetLastError(), RequestMessage::kCrackUrl);
    return false;
  }
  const URL_COMPONENTSW& components = parts->components;
  const bool https = components.nScheme == INTERNET_SCHEME_HTTPS;
  const DWORD service =
      components.nScheme == INTERNET_SCHEME_FTP ? INTERNET_SERVICE_FTP : INTERNET_SERVICE_HTTP;

  connection_.Reset(::InternetConnectW(CurrentInternetSession(), parts->host, components.nPort,
                                       parts->user, parts->password, service, 0, 0));
  if (!connection_) {
    RecordFailure(record, ::GetLastError(), RequestMessage::kConnect);
    return false;
  }

  const std::wstring object = std::wstring(parts->path) + parts->extra;
  request_.Reset(::HttpOpenRequestW(connection_.Get(), options.verb, object.c_str(), L"HTTP/1.1",
                                    nullptr, const_cast<const wchar_t**>(options.acceptTypes),
                                    https ? options.flags.https : options.flags.plain, 0));
  if (!request_) {
    RecordFailure(record, ::GetLastError(), RequestMessage::kOpenRequest);
    connection_.Reset();
    return false;
  }
  ApplyTransferTimeouts(request_.Get());

  const std::wstring referer = CurrentReferer();
  if (!referer.empty()) {
    const std::wstring header = L"Referer: " + referer;
    if (!::HttpAddRequestHeadersW(request_.Get(), header.c_str(), static_cast<DWORD>(-1),
                                  HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE))
      fw::DebugOutputF(L"Referer header not added: %lu\r\n", ::GetLastError());
  }

  const std::wstring extraHeader(options.extraHeader);
  if (!::HttpSendRequestW(request_.Get(), extraHeader.empty() ? nullptr : extraHeader.c_str(),
                          static_cast<DWORD>(extraHeader.size()), nullptr, 0)) {
    const DWORD error = ::GetLastError();
    RecordFailure(
        record, error,
        IsCertificateError(error) ? RequestMessage::kCertificate : RequestMessage::kSendRequest);
    fw::DebugOutputF(L"%ls (%lu) %ls\r\n", record.message.c_str(), error, object.c_str());
    return false;
  }
  return true;
}

std::optional<DWORD> HttpRequest::StatusCode() const {
  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!::HttpQueryInfoW(request_.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &size, nullptr))
    return std::nullopt;
  return status;
}

std::optional<std::int64_t> HttpRequest::ContentLength() const {
  wchar_t text[16] = {};
  DWORD size = sizeof(text);
  if (!::HttpQueryInfoW(request_.Get(), HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr))
    return std::nullopt;
  if (text[0] < L'0' || text[0] > L'9') return std::nullopt;
  std::int64_t length = 0;
  for (const wchar_t* digit = text; *digit >= L'0' && *digit <= L'9'; ++digit)
    length = length * 10 + (*digit - L'0');
  return length;
}

DWORD TransferFailureCode() {
  const DWORD error = ::GetLastError();
  return error != ERROR_SUCCESS ? error : ERROR_INTERNET_CONNECTION_ABORTED;
}

bool IsCertificateError(DWORD error) {
  switch (error) {
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
    case ERROR_INTERNET_INVALID_CA:
    case ERROR_INTERNET_SEC_CERT_ERRORS:
    case ERROR_INTERNET_SEC_CERT_NO_REV:
    case ERROR_INTERNET_SEC_CERT_REV_FAILED:
    case ERROR_INTERNET_SEC_INVALID_CERT:
    case ERROR_INTERNET_SEC_CERT_REVOKED:
      return true;
    default:
      return false;
  }
}
