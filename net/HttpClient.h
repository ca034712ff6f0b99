// The installer's HTTP(S) client: blocking GET requests within the process's Internet session
// (see InternetSession.h), each with its own connection and request handles.
#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>

#include "net/ICancelRequest.h"
#include "net/IDownloadCallback.h"
#include "net/IOutputFile.h"

// Fetches url into file in chunks of at most 4,096 bytes, written in blocks of up to 40,960
// bytes under the transfer lock, reporting each chunk (state 2) and a final record (state 3, or
// state 4 after half a second when cancelled) to callback. Holds while a pause is requested.
// True only when the whole body of a 2xx answer is in the file and no cancel was requested; a
// refused status, a broken or short transfer and a failed write give false and a final record
// with errorCode and message set.
bool DownloadUrlToFile(const ICancelRequest& cancel, std::wstring_view url, IOutputFile& file,
                       IDownloadCallback* callback);

// The size the server announces for url; 0 when it announces none, or answers 403, 404, below
// 200 or above 500. The body is not read.
std::int64_t QueryRemoteFileSize(std::wstring_view url);

// Fetches url into stream in chunks of at most 16,384 bytes. True only when the whole body of a
// 2xx answer was written and no cancel was requested; an error page is never written.
bool DownloadUrlToStream(const ICancelRequest& cancel, std::wstring_view url, std::ostream& stream);
