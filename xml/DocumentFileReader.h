// Reads one document file into UTF-16 text: byte-order mark, declared encoding (XML declaration
// or HTML meta tag), the UTF-8 test, NUL removal, byte swapping and code-page conversion, with a
// result record for every step. One reader per load.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace xml {

class DocumentFileReader {
 public:
  static constexpr std::uint32_t kReadBit = 0x10000;

  explicit DocumentFileReader(std::uint32_t flags) : flags_(flags) {}

  // Opens the file and detects its encoding; false (with "file_error") when it cannot be opened
  // or its start cannot be read.
  bool Open(std::wstring_view path);
  // Reads the bytes still to read into target, decoded to UTF-16.
  bool ReadText(std::wstring& target);
  // Closes the file; a failure is recorded but changes nothing else.
  void Close();

  void SetBytesToRead(std::int32_t count) { bytesToRead_ = count < 0 ? 0 : count; }
  std::int32_t GetFileSize() const { return fileSize_; }
  std::int32_t GetFilePosition() const { return filePosition_; }
  std::uint32_t GetFlags() const { return flags_; }
  const std::wstring& GetResultText() const { return resultText_; }
  const std::wstring& GetEncoding() const { return encoding_; }

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  void RecordFileError(std::uint32_t code);
  // Reads the bytes to read into buffer (unit size bytes per unit) and removes NUL units; false
  // on a read failure.
  bool ReadUnits(std::string& buffer);

  std::unique_ptr<std::FILE, FileCloser> file_;
  std::uint32_t flags_;
  std::int32_t bytesToRead_ = 0;
  std::int32_t fileSize_ = 0;
  std::int32_t filePosition_ = 0;
  std::int32_t unitSize_ = 1;
  std::int32_t unitsRead_ = 0;
  std::wstring resultText_;
  std::wstring encoding_;
};

// The encoding a document's start declares, or empty: the "encoding" of an XML declaration at
// offset 0, else the charset of an HTML "meta http-equiv=Content-Type" tag before "</head>".
// Names compare without regard to letter case.
std::wstring FindDeclaredEncoding(std::wstring_view text);

// Whether bytes form UTF-8 sequences (lead bytes and continuation bits only).
bool PassesUtf8Test(std::string_view bytes);

// Converts bytes in the named encoding to UTF-16 (an unknown name means the system's default
// code page). With target null it only counts. Answers the number of UTF-16 units.
std::int32_t ConvertToUtf16(const char* bytes, std::int32_t length, std::wstring_view encoding,
                            wchar_t* target, std::int32_t targetSize);

}  // namespace xml
