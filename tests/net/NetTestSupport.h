// What the network tests share: the running test server, a record of progress reports, an
// owner with real cancel and run events, and file comparison.
#pragma once

#include <windows.h>

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "net/DownloadStatusInfo.h"
#include "net/IDownloadCallback.h"
#include "net/IDownloadJobOwner.h"
#include "tests/server/TestServer.h"
#include "ui/framework/UniqueHandle.h"

namespace kest::test {

// The server the fixture started; the test fails at once when it is not running.
const TestServer& NetServer();

// A file the server serves, as this program sees it.
std::filesystem::path ServedFile(std::string_view name);

// True when both files exist and hold the same bytes.
bool SameFileBytes(const std::filesystem::path& a, const std::filesystem::path& b);

std::wstring Wide(const std::filesystem::path& path);

// Every report a transfer or job makes, safe to read from another thread while it runs.
class ReportLog {
 public:
  void Add(const DownloadStatusInfo& record);
  std::vector<DownloadStatusInfo> All() const;
  std::int64_t LatestBytesDone() const;
  std::size_t Count() const;

 private:
  mutable std::mutex lock_;
  std::vector<DownloadStatusInfo> reports_;
};

class RecordingCallback final : public IDownloadCallback {
 public:
  void OnDownloadStatus(DownloadStatusInfo& record) override { log.Add(record); }
  ReportLog log;
};

// Manual-reset events as the installation engine keeps them: not cancelled, running.
class EventOwner final : public IDownloadJobOwner {
 public:
  EventOwner();
  HANDLE CancelEvent() const override { return cancel_.Get(); }
  HANDLE RunEvent() const override { return run_.Get(); }

 private:
  fw::UniqueHandle cancel_;
  fw::UniqueHandle run_;
};

}  // namespace kest::test
