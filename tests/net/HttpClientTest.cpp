// The three request operations against the loopback test server.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "net/CancelRequest.h"
#include "net/HttpClient.h"
#include "net/HttpRequest.h"
#include "net/InternetSession.h"
#include "tests/net/NetTestSupport.h"
#include "tests/support/TestPaths.h"

namespace kest::test {
namespace {

// An output file in memory that remembers how it was written.
class MemoryFile final : public IOutputFile {
 public:
  bool Seek(std::uint64_t offset) override {
    seeks.push_back(offset);
    position = offset;
    return true;
  }
  bool Write(const void* data, std::size_t size) override {
    if (failWrites) {
      ::SetLastError(ERROR_DISK_FULL);
      return false;
    }
    writes.push_back(size);
    if (bytes.size() < position + size) bytes.resize(position + size);
    std::memcpy(bytes.data() + position, data, size);
    position += size;
    return true;
  }
  bool Flush() override {
    ++flushes;
    return true;
  }

  std::string bytes;
  std::vector<std::uint64_t> seeks;
  std::vector<std::size_t> writes;
  int flushes = 0;
  std::uint64_t position = 0;
  bool failWrites = false;
};

class CancelledToken final : public ICancelRequest {
 public:
  bool IsCancelRequested() const override { return true; }
  bool IsPauseRequested() const override { return false; }
};

class HttpClientTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(OpenInternetSession()); }
  static void TearDownTestSuite() { CloseInternetSession(); }

  // A URL on the plain listener whose requests this test alone makes.
  std::wstring Url(std::string_view path, std::string_view query = {}) {
    tag_ = UniqueTag("req");
    std::string target(path);
    target += "?";
    if (!query.empty()) target += std::string(query) + "&";
    target += "tag=" + tag_;
    return NetServer().Url(target);
  }
  const std::string& Tag() const { return tag_; }

  const CancelRequest never_;  // no events: never cancelled, never paused

 private:
  std::string tag_;
};

TEST_F(HttpClientTest, SessionIsMadeOnlyWhenNoneIsOpen) {
  const HINTERNET first = CurrentInternetSession();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(OpenInternetSession());
  EXPECT_EQ(CurrentInternetSession(), first);

  CloseInternetSession();
  EXPECT_EQ(CurrentInternetSession(), nullptr);
  EXPECT_EQ(QueryRemoteFileSize(Url("/4096.bin")), 0) << "a request without a session fails";
  EXPECT_TRUE(OpenInternetSession());
  EXPECT_NE(CurrentInternetSession(), nullptr);
  EXPECT_EQ(QueryRemoteFileSize(Url("/4096.bin")), 4096);
}

TEST_F(HttpClientTest, SizeQueryAcceptsOnlyAnnouncedSizesOfUsableAnswers) {
  struct Case {
    const char* path;
    const char* query;
    std::int64_t expected;
  };
  const Case cases[] = {
      {"/100k.bin", "", 100000},           {"/4096.bin", "status=200", 4096},
      {"/100k.bin", "status=500", 100000},  // accepted: the download itself refuses it later
      {"/100k.bin", "status=404", 0},      {"/100k.bin", "status=403", 0},
      {"/100k.bin", "status=501", 0},      {"/no-such-file.bin", "", 0},
      {"/100k.bin", "nolength=1", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(QueryRemoteFileSize(Url(c.path, c.query)), c.expected) << c.path << "?" << c.query;

  EXPECT_EQ(QueryRemoteFileSize(L"http://127.0.0.1:1/closed-port.bin"), 0);
  EXPECT_EQ(QueryRemoteFileSize(L"not a url"), 0);
}

TEST_F(HttpClientTest, EveryOperationSendsItsFixedHeaders) {
  struct Case {
    const char* operation;
    const char* accept;
    const char* contentType;  // null: no such header
  };
  const Case cases[] = {
      {"file", "*/*", nullptr},
      {"size", "application/xml, */*", nullptr},
      {"stream", "application/xml, */*", "application/json"},
  };
  const std::string referer(kDefaultReferer.begin(), kDefaultReferer.end());
  for (const Case& c : cases) {
    const std::wstring url = Url("/4096.bin");
    const std::string operation = c.operation;
    if (operation == "file") {
      MemoryFile file;
      EXPECT_TRUE(DownloadUrlToFile(never_, url, file, nullptr));
    } else if (operation == "size") {
      EXPECT_EQ(QueryRemoteFileSize(url), 4096);
    } else {
      std::ostringstream stream;
      EXPECT_TRUE(DownloadUrlToStream(never_, url, stream));
    }
    const auto requests = NetServer().RequestsContaining(Tag());
    ASSERT_EQ(requests.size(), 1u) << operation;
    const LoggedRequest& request = requests.front();
    EXPECT_EQ(request.method, "GET") << operation;
    EXPECT_EQ(request.headers.at("User-Agent"), "Pictova Web Installer Client") << operation;
    EXPECT_EQ(request.headers.at("Referer"), referer) << operation;
    EXPECT_EQ(request.headers.at("Accept"), c.accept) << operation;
    if (c.contentType) {
      EXPECT_EQ(request.headers.at("Content-Type"), c.contentType) << operation;
    } else {
      EXPECT_EQ(request.headers.count("Content-Type"), 0u) << operation;
    }
  }
}

TEST_F(HttpClientTest, StreamKeepsOnlyWholeBodiesOfSuccessfulAnswers) {
  const std::string expected = ReadFileBytes(ServedFile("100k.bin"));
  ASSERT_EQ(expected.size(), 100000u);
  struct Case {
    const char* query;
    bool succeeds;
  };
  const Case cases[] = {
      {"", true},
      {"nolength=1", true},
      {"delay=5&block=3000", true},
      {"status=404", false},  // an error page must not become the version document
      {"status=403", false},
      {"status=500", false},
      {"cut=50000", false},  // announced 100,000 bytes, sent half, closed
  };
  for (const Case& c : cases) {
    std::ostringstream stream;
    const bool result = DownloadUrlToStream(never_, Url("/100k.bin", c.query), stream);
    EXPECT_EQ(result, c.succeeds) << c.query;
    if (c.succeeds) {
      EXPECT_TRUE(stream.str() == expected) << c.query;
    } else if (std::string(c.query).starts_with("status")) {
      EXPECT_TRUE(stream.str().empty()) << c.query << ": the error page was stored";
    }
  }

  std::ostringstream stream;
  EXPECT_FALSE(DownloadUrlToStream(never_, L"http://127.0.0.1:1/closed-port.bin", stream));
  EXPECT_FALSE(DownloadUrlToStream(CancelledToken(), Url("/100k.bin"), stream));
  EXPECT_TRUE(stream.str().empty());
}

TEST_F(HttpClientTest, StreamThatCannotBeWrittenFails) {
  std::ostringstream stream;
  stream.setstate(std::ios::badbit);
  EXPECT_FALSE(DownloadUrlToStream(never_, Url("/4096.bin"), stream));
}

TEST_F(HttpClientTest, BodyOfExactlyOneChunkIsStagedAndWrittenWhole) {
  MemoryFile file;
  RecordingCallback callback;
  ASSERT_TRUE(DownloadUrlToFile(never_, Url("/4096.bin"), file, &callback));
  EXPECT_TRUE(file.bytes == ReadFileBytes(ServedFile("4096.bin")));

  const auto reports = callback.log.All();
  ASSERT_GE(reports.size(), 2u);
  EXPECT_EQ(reports.back().state, DownloadState::Finished);
  EXPECT_EQ(reports.back().bytesDone, 4096);
  EXPECT_EQ(reports.back().errorCode, 0u);
  EXPECT_EQ(reports.back().message, L"");
  for (std::size_t i = 0; i + 1 < reports.size(); ++i)
    EXPECT_EQ(reports[i].state, DownloadState::Transferring);
}

TEST_F(HttpClientTest, FileIsWrittenInContiguousFlushedBlocksOfAtMostTenChunks) {
  MemoryFile file;
  RecordingCallback callback;
  ASSERT_TRUE(DownloadUrlToFile(never_, Url("/100k.bin"), file, &callback));
  EXPECT_TRUE(file.bytes == ReadFileBytes(ServedFile("100k.bin")));

  std::uint64_t offset = 0;
  ASSERT_EQ(file.seeks.size(), file.writes.size());
  for (std::size_t i = 0; i < file.writes.size(); ++i) {
    EXPECT_EQ(file.seeks[i], offset);
    EXPECT_LE(file.writes[i], 40960u);
    offset += file.writes[i];
  }
  EXPECT_EQ(offset, 100000u);
  EXPECT_EQ(file.flushes, static_cast<int>(file.writes.size()));

  const auto reports = callback.log.All();
  std::int64_t done = 0;
  for (std::size_t i = 0; i + 1 < reports.size(); ++i) {
    EXPECT_GT(reports[i].bytesDone, done);
    EXPECT_LE(reports[i].bytesDone - done, 4096);
    done = reports[i].bytesDone;
  }
  EXPECT_EQ(done, 100000);
}

TEST_F(HttpClientTest, FailedFileTransfersSayWhyAndAreNeverSuccess) {
  struct Case {
    const char* name;
    std::wstring url;
    bool failWrites;
    std::uint32_t errorCode;  // 0: any non-zero code
    const wchar_t* message;
  };
  const Case cases[] = {
      {"no scheme", L"127.0.0.1/4096.bin", false, 0, RequestMessage::kCrackUrl},
      {"closed port", L"http://127.0.0.1:1/x.bin", false, 0, RequestMessage::kSendRequest},
      {"404", Url("/4096.bin", "status=404"), false, 404, RequestMessage::kRefusedStatus},
      {"500", Url("/4096.bin", "status=500"), false, 500, RequestMessage::kRefusedStatus},
      {"cut", Url("/100k.bin", "cut=50000"), false, 0, RequestMessage::kTransfer},
      {"disk full", Url("/100k.bin"), true, ERROR_DISK_FULL, RequestMessage::kTransfer},
  };
  for (const Case& c : cases) {
    MemoryFile file;
    file.failWrites = c.failWrites;
    RecordingCallback callback;
    EXPECT_FALSE(DownloadUrlToFile(never_, c.url, file, &callback)) << c.name;
    const auto reports = callback.log.All();
    ASSERT_FALSE(reports.empty()) << c.name;
    const DownloadStatusInfo& last = reports.back();
    EXPECT_EQ(last.state, DownloadState::Finished) << c.name;
    if (c.errorCode != 0) {
      EXPECT_EQ(last.errorCode, c.errorCode) << c.name;
    } else {
      EXPECT_NE(last.errorCode, 0u) << c.name;
    }
    EXPECT_EQ(last.message, c.message) << c.name;
    if (std::string(c.name) == "cut") {
      EXPECT_LT(last.bytesDone, 100000) << c.name;
    }
    if (std::string(c.name) == "404" || std::string(c.name) == "500") {
      EXPECT_TRUE(file.writes.empty()) << c.name << ": the error page was stored";
    }
  }
}

TEST_F(HttpClientTest, CancelledBeforeReadingReadsNothing) {
  MemoryFile file;
  RecordingCallback callback;
  EXPECT_FALSE(DownloadUrlToFile(CancelledToken(), Url("/100k.bin"), file, &callback));
  const auto reports = callback.log.All();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].state, DownloadState::Cancelled);
  EXPECT_EQ(reports[0].bytesDone, 0);
  EXPECT_TRUE(file.writes.empty());
}

}  // namespace
}  // namespace kest::test
