// Where DownloadUrlToFile puts the bytes it receives. Each operation answers false on failure
// and leaves the reason in the thread's last system error code.
#pragma once

#include <cstddef>
#include <cstdint>

class IOutputFile {
 public:
  virtual ~IOutputFile() = default;
  virtual bool Seek(std::uint64_t offsetFromStart) = 0;
  virtual bool Write(const void* data, std::size_t size) = 0;
  virtual bool Flush() = 0;
};
