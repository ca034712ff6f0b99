#include <windows.h>

#include <cstdio>
#include <string>

#include "xml/PlatformText.h"

namespace xml {

std::int32_t ConvertCodePageToUtf16(std::uint32_t codePage, const char* bytes, std::int32_t length,
                                    wchar_t* target, std::int32_t targetSize) {
  if (length <= 0) return 0;
  const int produced =
      ::MultiByteToWideChar(codePage, 0, bytes, length, target, target ? targetSize : 0);
  return produced > 0 ? produced : 0;
}

std::uint32_t LastSystemError() {
  return ::GetLastError();
}

std::uint32_t FileTooLargeError() {
  return ERROR_FILE_TOO_LARGE;
}

std::wstring SystemErrorText(std::uint32_t code) {
  wchar_t buffer[512] = {};
  const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                        buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
  std::wstring text(buffer, length);
  text = text.substr(0, text.find_first_of(L"\r\n"));
  if (text.size() > 100) text.resize(100);
  return text;
}

std::FILE* OpenFileForReading(std::wstring_view path) {
  const std::wstring terminated(path);
  return ::_wfopen(terminated.c_str(), L"rb");
}

std::int64_t FileSize(std::FILE* file) {
  if (::_fseeki64(file, 0, SEEK_END) != 0) return -1;
  const std::int64_t size = ::_ftelli64(file);
  if (::_fseeki64(file, 0, SEEK_SET) != 0) return -1;
  return size;
}

bool SeekFile(std::FILE* file, std::int64_t offset) {
  return ::_fseeki64(file, offset, SEEK_SET) == 0;
}

}  // namespace xml
