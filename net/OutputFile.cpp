#include "net/OutputFile.h"

#include <windows.h>

#include <algorithm>

bool OutputFile::Create(const std::wstring& path) {
  file_.Reset(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr));
  return IsOpen();
}

bool OutputFile::Seek(std::uint64_t offsetFromStart) {
  LARGE_INTEGER distance;
  distance.QuadPart = static_cast<LONGLONG>(offsetFromStart);
  return IsOpen() && ::SetFilePointerEx(file_.Get(), distance, nullptr, FILE_BEGIN) != FALSE;
}

bool OutputFile::Write(const void* data, std::size_t size) {
  if (!IsOpen()) return false;
  const auto* bytes = static_cast<const unsigned char*>(data);
  while (size > 0) {
    const DWORD part = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file_.Get(), bytes, part, &written, nullptr)) return false;
    if (written == 0) {
      ::SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    bytes += written;
    size -= written;
  }
  return true;
}

bool OutputFile::Commit() {
  return IsOpen() && ::FlushFileBuffers(file_.Get()) != FALSE;
}
