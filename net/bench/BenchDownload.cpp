// Downloads one URL and prints what tools/bench-download compares:
//   bench_download job URL LOCAL-PATH       the whole download job (size query and transfer)
//   bench_download transfer URL LOCAL-PATH  the transfer alone: DownloadUrlToFile into the file,
//                                           put on disk and renamed into place as a job does
//   -> "bytes=N seconds=S mbps=M peak_rss_kb=K result=0|1"
// The peak resident size is the process's own (under Wine, the Linux process's high-water mark).
#include <windows.h>
// psapi.h needs the base types of windows.h first.
#include <psapi.h>

#include <cstdio>
#include <string>

#include "net/CancelRequest.h"
#include "net/DownloadJob.h"
#include "net/HttpClient.h"
#include "net/InternetSession.h"
#include "net/OutputFile.h"
#include "ui/framework/UniqueHandle.h"

namespace {

class RunningOwner final : public IDownloadJobOwner {
 public:
  HANDLE CancelEvent() const override { return cancel_.Get(); }
  HANDLE RunEvent() const override { return run_.Get(); }

 private:
  fw::UniqueHandle cancel_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  fw::UniqueHandle run_{::CreateEventW(nullptr, TRUE, TRUE, nullptr)};
};

class FinalBytes final : public IDownloadCallback {
 public:
  void OnDownloadStatus(DownloadStatusInfo& record) override {
    if (record.state == DownloadState::Finished) bytes = record.bytesDone;
  }
  std::int64_t bytes = 0;
};

double Now() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool RunJob(const std::wstring& url, const std::wstring& path, std::int64_t& bytes) {
  RunningOwner owner;
  CDownloadJob job(url, path);
  return RunDownloadJob(job, &owner, [&](const DownloadStatusInfo& record) {
    if (record.state == DownloadState::Finished) bytes = record.bytesDone;
  });
}

bool RunTransfer(const std::wstring& url, const std::wstring& path, std::int64_t& bytes) {
  const std::wstring partial = PartialFilePath(path);
  OutputFile file;
  if (!file.Create(partial)) return false;
  FinalBytes callback;
  const bool received = DownloadUrlToFile(CancelRequest(), url, file, &callback);
  bytes = callback.bytes;
  const bool committed = received && file.Commit();
  file.Close();
  return committed && ::MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc == 4 ? argv[1] : L"";
  if (mode != L"job" && mode != L"transfer") {
    std::fprintf(stderr, "usage: bench_download job|transfer URL LOCAL-PATH\n");
    return 2;
  }
  if (!OpenInternetSession()) return 1;
  std::int64_t bytes = 0;
  const double start = Now();
  const bool result =
      mode == L"job" ? RunJob(argv[2], argv[3], bytes) : RunTransfer(argv[2], argv[3], bytes);
  const double seconds = Now() - start;
  CloseInternetSession();

  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  ::K32GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof(memory));
  std::printf("bytes=%lld seconds=%.3f mbps=%.1f peak_rss_kb=%llu result=%d\n",
              static_cast<long long>(bytes), seconds, bytes / seconds / (1024.0 * 1024.0),
              static_cast<unsigned long long>(memory.PeakWorkingSetSize / 1024), result ? 1 : 0);
  return result ? 0 : 1;
}
