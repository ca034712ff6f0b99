// One GET request: the URL split, the connection, the request with its headers, and the answer's
// status and announced length. The handles are closed, request first, when the object ends.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <optional>
#include <string_view>

#include "net/DownloadStatusInfo.h"
#include "net/RequestFlags.h"
#include "ui/framework/UniqueHandle.h"

struct RequestOptions {
  const wchar_t* verb = nullptr;                // null: the API's default, GET
  const wchar_t* const* acceptTypes = nullptr;  // null-terminated list
  std::wstring_view extraHeader;                // sent with the request when not empty
  RequestFlags flags{};
};

// Texts of the failures a request reports in DownloadStatusInfo::message.
namespace RequestMessage {
inline constexpr wchar_t kCrackUrl[] = L"InternetCrackUrl Failed.";
inline constexpr wchar_t kConnect[] = L"InternetConnect Failed.";
inline constexpr wchar_t kOpenRequest[] = L"HttpOpenRequest Failed.";
inline constexpr wchar_t kSendRequest[] = L"HttpSendRequest Failed.";
inline constexpr wchar_t kCertificate[] = L"HttpSendRequest Failed: server certificate rejected.";
inline constexpr wchar_t kRefusedStatus[] = L"Forbidden.";
inline constexpr wchar_t kTransfer[] = L"Internet download file Failed";
}  // namespace RequestMessage

class HttpRequest {
 public:
  // Splits the URL, connects, opens the request, adds the referer and sends it, all within the
  // current Internet session. False on failure, with the system error code and the text of the
  // failed step in record.
  bool Send(std::wstring_view url, const RequestOptions& options, DownloadStatusInfo& record);

  HINTERNET Handle() const noexcept { return request_.Get(); }

  // The answer's HTTP status; none when it cannot be read.
  std::optional<DWORD> StatusCode() const;

  // The announced Content-Length; none when it is missing or does not start with digits.
  std::optional<std::int64_t> ContentLength() const;

 private:
  fw::UniqueInternet connection_;
  fw::UniqueInternet request_;  // declared last: closed first
};

inline bool IsSuccessStatus(DWORD status) {
  return status >= 200 && status <= 299;
}

// The thread's last system error after a failed read or write; never 0, so that a failure
// is never mistaken for success.
DWORD TransferFailureCode();

// True for the send errors that mean the server's certificate was not accepted.
bool IsCertificateError(DWORD error);
