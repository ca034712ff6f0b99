// Download jobs end to end: report sequences, pause, cancel, and what is left on disk.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "net/DownloadJob.h"
#include "net/HttpRequest.h"
#include "net/InternetSession.h"
#include "tests/net/NetTestSupport.h"
#include "tests/support/TestPaths.h"

namespace kest::test {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

class DownloadJobTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(OpenInternetSession()); }
  static void TearDownTestSuite() { CloseInternetSession(); }

  void SetUp() override { folder_ = ScratchFolder("net-jobs"); }

  std::wstring Url(std::string_view path, std::string_view query = {}) {
    tag_ = UniqueTag("job");
    std::string target(path);
    target += "?";
    if (!query.empty()) target += std::string(query) + "&";
    target += "tag=" + tag_;
    return NetServer().Url(target);
  }

  std::filesystem::path Target(std::string_view name = "download.bin") const {
    return folder_ / std::string(name);
  }

  // Nothing under the final name and no partly received file beside it.
  void ExpectNothingLeft(const std::filesystem::path& target) const {
    EXPECT_FALSE(std::filesystem::exists(target)) << target;
    EXPECT_FALSE(std::filesystem::exists(PartialFilePath(Wide(target))));
  }

  DownloadStatusHandler Recorder() {
    return [this](const DownloadStatusInfo& record) { reports_.Add(record); };
  }

  std::filesystem::path folder_;
  std::string tag_;
  EventOwner owner_;
  ReportLog reports_;
};

void ExpectReport(const DownloadStatusInfo& record, std::int32_t state, std::int64_t done,
                  std::int64_t total, const char* what) {
  EXPECT_EQ(record.state, state) << what;
  EXPECT_EQ(record.bytesDone, done) << what;
  EXPECT_EQ(record.bytesTotal, total) << what;
}

TEST_F(DownloadJobTest, CompleteTransferReportsInOrderAndPlacesTheFile) {
  CDownloadJob job(Url("/100k.bin"), Wide(Target()));
  ASSERT_TRUE(RunDownloadJob(job, &owner_, Recorder()));
  EXPECT_TRUE(SameFileBytes(Target(), ServedFile("100k.bin")));
  EXPECT_FALSE(std::filesystem::exists(PartialFilePath(Wide(Target()))));
  EXPECT_EQ(job.Size(), 100000);

  const auto reports = reports_.All();
  ASSERT_GE(reports.size(), 4u);
  ExpectReport(reports.front(), DownloadState::Transferring, 0, 0, "start report");
  std::int64_t done = 0;
  for (std::size_t i = 1; i + 2 < reports.size(); ++i) {
    EXPECT_EQ(reports[i].state, DownloadState::Transferring);
    EXPECT_EQ(reports[i].bytesTotal, 100000);
    EXPECT_GT(reports[i].bytesDone, done);
    EXPECT_LE(reports[i].bytesDone - done, 4096);
    done = reports[i].bytesDone;
  }
  EXPECT_EQ(done, 100000);
  const DownloadStatusInfo& final = reports[reports.size() - 2];
  ExpectReport(final, DownloadState::Finished, 100000, 100000, "final report");
  EXPECT_EQ(final.errorCode, 0u);
  EXPECT_EQ(final.message, L"");
  ExpectReport(reports.back(), DownloadState::Transferring, 0, 100000, "closing report");

  EXPECT_EQ(NetServer().RequestsContaining(tag_).size(), 2u) << "size query, then the download";
}

TEST_F(DownloadJobTest, CancelAlreadyRequestedMakesOneReportAndNoRequest) {
  ::SetEvent(owner_.CancelEvent());
  CDownloadJob job(Url("/100k.bin"), Wide(Target()));
  EXPECT_FALSE(RunDownloadJob(job, &owner_, Recorder()));
  const auto reports = reports_.All();
  ASSERT_EQ(reports.size(), 1u);
  ExpectReport(reports[0], DownloadState::FailedBeforeTransfer, 0, 0, "only report");
  EXPECT_TRUE(NetServer().RequestsContaining(tag_).empty());
  ExpectNothingLeft(Target());
}

TEST_F(DownloadJobTest, NothingToFetchGivesTwoStartReportsAndNoFile) {
  struct Case {
    const char* name;
    std::wstring url;
    std::filesystem::path target;
    std::int64_t closingTotal;
  };
  const Case cases[] = {
      {"404 to the size query", Url("/100k.bin", "status=404"), Target("a.bin"), 0},
      {"no announced size", Url("/100k.bin", "nolength=1"), Target("b.bin"), 0},
      {"folder missing", Url("/100k.bin"), folder_ / "missing" / "c.bin", 100000},
  };
  for (const Case& c : cases) {
    ReportLog reports;
    CDownloadJob job(c.url, Wide(c.target));
    EXPECT_FALSE(RunDownloadJob(job, &owner_, [&](const DownloadStatusInfo& r) { reports.Add(r); }))
        << c.name;
    const auto all = reports.All();
    ASSERT_EQ(all.size(), 2u) << c.name;
    ExpectReport(all[0], DownloadState::Transferring, 0, 0, c.name);
    ExpectReport(all[1], DownloadState::Transferring, 0, c.closingTotal, c.name);
    ExpectNothingLeft(c.target);
  }
}

// The size query accepts these answers; the transfer must not keep what follows.
TEST_F(DownloadJobTest, BrokenOrRefusedTransferFailsAndLeavesNoFile) {
  struct Case {
    const char* name;
    const char* query;
    std::uint32_t errorCode;  // 0: any non-zero code
    const wchar_t* message;
  };
  const Case cases[] = {
      {"body cut off", "cut=30000", 0, RequestMessage::kTransfer},
      {"server error page", "status=500", 500, RequestMessage::kRefusedStatus},
  };
  for (const Case& c : cases) {
    ReportLog reports;
    CDownloadJob job(Url("/100k.bin", c.query), Wide(Target()));
    EXPECT_FALSE(RunDownloadJob(job, &owner_, [&](const DownloadStatusInfo& r) { reports.Add(r); }))
        << c.name;
    const auto all = reports.All();
    ASSERT_GE(all.size(), 3u) << c.name;
    const DownloadStatusInfo& final = all[all.size() - 2];
    EXPECT_EQ(final.state, DownloadState::Finished) << c.name;
    if (c.errorCode != 0) {
      EXPECT_EQ(final.errorCode, c.errorCode) << c.name;
    } else {
      EXPECT_NE(final.errorCode, 0u) << c.name;
    }
    EXPECT_EQ(final.message, c.message) << c.name;
    ExpectReport(all.back(), DownloadState::Transferring, 0, 100000, c.name);
    ExpectNothingLeft(Target());
  }
}

TEST_F(DownloadJobTest, FailedJobLeavesAnEarlierCompleteFileAlone) {
  ASSERT_TRUE(WriteFileBytes(Target(), "earlier complete file"));
  CDownloadJob job(Url("/100k.bin", "cut=30000"), Wide(Target()));
  EXPECT_FALSE(RunDownloadJob(job, &owner_, Recorder()));
  EXPECT_EQ(ReadFileBytes(Target()), "earlier complete file");
  EXPECT_FALSE(std::filesystem::exists(PartialFilePath(Wide(Target()))));

  CDownloadJob again(Url("/100k.bin"), Wide(Target()));
  EXPECT_TRUE(RunDownloadJob(again, &owner_, nullptr));
  EXPECT_TRUE(SameFileBytes(Target(), ServedFile("100k.bin")));
}

// Waits until the running job has received something (or gives up after a generous time).
void WaitForProgress(const ReportLog& reports, std::int64_t beyond = 0) {
  const auto deadline = Clock::now() + 60s;
  while (reports.LatestBytesDone() <= beyond && Clock::now() < deadline)
    std::this_thread::sleep_for(10ms);
}

TEST_F(DownloadJobTest, PausedTransferHoldsAndResumesWithoutLosingData) {
  // 1 MiB in 16 KiB blocks, 20 ms apart: a bit over a second when never held.
  CDownloadJob job(Url("/1m.bin", "delay=20&block=16384"), Wide(Target()));
  bool result = false;
  std::thread worker([&] { result = RunDownloadJob(job, &owner_, Recorder()); });

  WaitForProgress(reports_);
  ::ResetEvent(owner_.RunEvent());
  std::this_thread::sleep_for(300ms);  // a chunk being read when the pause came may still land
  const std::int64_t held = reports_.LatestBytesDone();
  const std::size_t heldReports = reports_.Count();
  std::this_thread::sleep_for(700ms);
  EXPECT_EQ(reports_.LatestBytesDone(), held);
  EXPECT_EQ(reports_.Count(), heldReports);
  EXPECT_LT(held, 1 << 20);

  ::SetEvent(owner_.RunEvent());
  worker.join();
  EXPECT_TRUE(result);
  EXPECT_TRUE(SameFileBytes(Target(), ServedFile("1m.bin")));
  const auto reports = reports_.All();
  ASSERT_GE(reports.size(), 2u);
  EXPECT_EQ(reports[reports.size() - 2].state, DownloadState::Finished);
  EXPECT_EQ(reports[reports.size() - 2].bytesDone, 1 << 20);
}

TEST_F(DownloadJobTest, CancelDuringTransferEndsWithCancelledReportAndNoFile) {
  // 1 MiB in 8 KiB blocks, 50 ms apart: more than six seconds unless cancelled.
  CDownloadJob job(Url("/1m.bin", "delay=50&block=8192"), Wide(Target()));
  bool result = true;
  Clock::time_point cancelledReportAt{};
  std::thread worker([&] {
    result = RunDownloadJob(job, &owner_, [&](const DownloadStatusInfo& record) {
      if (record.state == DownloadState::Cancelled) cancelledReportAt = Clock::now();
      reports_.Add(record);
    });
  });

  WaitForProgress(reports_);
  const auto cancelledAt = Clock::now();
  ::SetEvent(owner_.CancelEvent());
  worker.join();

  EXPECT_FALSE(result);
  const auto reports = reports_.All();
  ASSERT_GE(reports.size(), 3u);
  const DownloadStatusInfo& final = reports[reports.size() - 2];
  EXPECT_EQ(final.state, DownloadState::Cancelled);
  EXPECT_LT(final.bytesDone, 1 << 20);
  EXPECT_EQ(final.bytesTotal, 1 << 20);
  ExpectReport(reports.back(), DownloadState::Transferring, 0, 1 << 20, "closing report");
  // The cancelled report comes only after the half-second wait.
  EXPECT_GE(cancelledReportAt - cancelledAt, 490ms);
  ExpectNothingLeft(Target());
}

TEST_F(DownloadJobTest, FiftyMegabytesArriveByteExact) {
  CDownloadJob job(Url("/50m.bin"), Wide(Target("big.bin")));
  std::int64_t lastDone = 0;
  std::int32_t finalState = -1;
  std::uint32_t finalError = 1;
  ASSERT_TRUE(RunDownloadJob(job, &owner_, [&](const DownloadStatusInfo& record) {
    if (record.state == DownloadState::Finished) {
      finalState = record.state;
      finalError = record.errorCode;
      lastDone = record.bytesDone;
    }
  }));
  EXPECT_EQ(finalState, DownloadState::Finished);
  EXPECT_EQ(finalError, 0u);
  EXPECT_EQ(lastDone, 50 << 20);
  EXPECT_EQ(std::filesystem::file_size(Target("big.bin")), 50u << 20);
  EXPECT_TRUE(SameFileBytes(Target("big.bin"), ServedFile("50m.bin")));
  std::filesystem::remove(Target("big.bin"));
}

TEST_F(DownloadJobTest, JobWithoutOwnerDoesNothing) {
  CDownloadJob job(Url("/100k.bin"), Wide(Target()));
  EXPECT_FALSE(RunDownloadJob(job, nullptr, Recorder()));
  EXPECT_EQ(reports_.Count(), 0u);
  EXPECT_TRUE(NetServer().RequestsContaining(tag_).empty());
}

// A download whose own answer has no length and ends early is not taken for complete: the job
// holds it against the size the server announced first.
TEST_F(DownloadJobTest, AnswerWithoutLengthThatEndsEarlyIsNotPlaced) {
  CDownloadJob job(Url("/100k.bin", "lengthonce=1&cut=30000"), Wide(Target()));
  EXPECT_FALSE(RunDownloadJob(job, &owner_, Recorder()));
  ExpectNothingLeft(Target());
  // The same answer in full passes.
  CDownloadJob whole(Url("/100k.bin", "lengthonce=1"), Wide(Target()));
  EXPECT_TRUE(RunDownloadJob(whole, &owner_, Recorder()));
  EXPECT_TRUE(SameFileBytes(Target(), ServedFile("100k.bin")));
}

// A server that stops sending ends the job after the transfer timeout instead of holding the
// run (and any cancel) for as long as it stalls.
TEST_F(DownloadJobTest, StalledServerEndsTheJob) {
  SetTransferTimeout(2000);
  CDownloadJob job(Url("/100k.bin", "delay=60000&block=4096"), Wide(Target()));
  const auto start = Clock::now();
  EXPECT_FALSE(RunDownloadJob(job, &owner_, Recorder()));
  const auto waited = Clock::now() - start;
  SetTransferTimeout(kDefaultTransferTimeoutMs);
  EXPECT_LT(waited, 30s) << "the job waited for the stalled server";
  ExpectNothingLeft(Target());
}

}  // namespace
}  // namespace kest::test
