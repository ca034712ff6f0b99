// A local file that a download job writes: created (replacing any file of that name) for
// exclusive writing with random access.
#pragma once

#include <string>

#include "net/IOutputFile.h"
#include "ui/framework/UniqueHandle.h"

class OutputFile final : public IOutputFile {
 public:
  bool Create(const std::wstring& path);
  bool IsOpen() const noexcept { return static_cast<bool>(file_); }

  bool Seek(std::uint64_t offsetFromStart) override;
  bool Write(const void* data, std::size_t size) override;
  // Writes go straight to the system, so there is nothing held back here to flush.
  bool Flush() override { return IsOpen(); }

  // Puts the written data on the disk before the file is given its final name.
  bool Commit();
  void Close() noexcept { file_.Reset(); }

 private:
  fw::UniqueFile file_;
};
