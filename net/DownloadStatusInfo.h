// The progress record every transfer report carries, from the first report to the last.
#pragma once

#include <cstdint>
#include <string>

// Values of DownloadStatusInfo::state.
namespace DownloadState {
inline constexpr std::int32_t NotStarted = 0;
inline constexpr std::int32_t Transferring = 2;  // also a job's own start and closing reports
inline constexpr std::int32_t Finished = 3;      // the transfer ended: errorCode says how
inline constexpr std::int32_t Cancelled = 4;
inline constexpr std::int32_t FailedBeforeTransfer =
    5;  // cancel already requested, or an exception
}  // namespace DownloadState

struct DownloadStatusInfo {
  std::int32_t state = DownloadState::NotStarted;
  std::int64_t bytesDone = 0;
  std::int64_t bytesTotal = 0;  // the size the server announced; 0 until known
  std::uint32_t errorCode = 0;  // system error code of the last failure, or a refused HTTP status
  std::wstring message;         // error text; empty when none
};
