#include "tests/net/NetTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/TestPaths.h"

namespace kest::test {

const TestServer& NetServer() {
  return RunningServer("net-test-server/state");
}

std::filesystem::path ServedFile(std::string_view name) {
  return BinaryPath("net-test-server/root") / std::string(name);
}

bool SameFileBytes(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::ifstream left(a, std::ios::binary);
  std::ifstream right(b, std::ios::binary);
  if (!left || !right) return false;
  std::vector<char> leftBlock(1 << 16);
  std::vector<char> rightBlock(1 << 16);
  for (;;) {
    left.read(leftBlock.data(), static_cast<std::streamsize>(leftBlock.size()));
    right.read(rightBlock.data(), static_cast<std::streamsize>(rightBlock.size()));
    if (left.gcount() != right.gcount()) return false;
    if (!std::equal(leftBlock.begin(), leftBlock.begin() + left.gcount(), rightBlock.begin()))
      return false;
    if (left.gcount() == 0) return true;
  }
}

std::wstring Wide(const std::filesystem::path& path) {
  return path.wstring();
}

void ReportLog::Add(const DownloadStatusInfo& record) {
  const std::lock_guard guard(lock_);
  reports_.push_back(record);
}

std::vector<DownloadStatusInfo> ReportLog::All() const {
  const std::lock_guard guard(lock_);
  return reports_;
}

std::int64_t ReportLog::LatestBytesDone() const {
  const std::lock_guard guard(lock_);
  return reports_.empty() ? 0 : reports_.back().bytesDone;
}

std::size_t ReportLog::Count() const {
  const std::lock_guard guard(lock_);
  return reports_.size();
}

EventOwner::EventOwner()
    : cancel_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      run_(::CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}

}  // namespace kest::test
