#include "xml/DocumentFileReader.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "xml/EncodingNames.h"
#include "xml/NodeScanner.h"
#include "xml/PlatformText.h"
#include "xml/ResultText.h"

namespace xml {

namespace {

constexpr std::uint32_t kUtf16File = 0x1;
constexpr std::uint32_t kUtf8Mark = 0x4;
constexpr std::uint32_t kBigEndian = 0x80;
constexpr std::size_t kDetectionBytes = 1024;

struct ByteOrderMark {
  std::string_view bytes;
  const wchar_t* encoding;
  std::uint32_t flag;
};

constexpr ByteOrderMark kMarks[] = {
    {"\xEF\xBB\xBF", L"UTF-8", kUtf8Mark},
    {"\xFF\xFE", L"UTF-16LE", kUtf16File},
    {"\xFE\xFF", L"UTF-16BE", kBigEndian},
};

wchar_t Lower(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c;
}

bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::size_t FindIgnoringCase(std::wstring_view text, std::wstring_view word) {
  if (word.size() > text.size()) return std::wstring_view::npos;
  for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
    if (EqualIgnoringCase(text.substr(i, word.size()), word)) return i;
  }
  return std::wstring_view::npos;
}

bool EndsAttributeName(wchar_t c) {
  return IsXmlSpace(c) || c == L'=' || c == L'>' || c == L'/' || c == L'?';
}

// The value of a named attribute among the attributes of a tag (the text after its name).
std::optional<std::wstring_view> FindAttribute(std::wstring_view attributes,
                                               std::wstring_view name) {
  const std::size_t size = attributes.size();
  std::size_t i = 0;
  while (i < size) {
    while (i < size && IsXmlSpace(attributes[i])) ++i;
    const std::size_t nameStart = i;
    while (i < size && !EndsAttributeName(attributes[i])) ++i;
    const std::wstring_view attributeName = attributes.substr(nameStart, i - nameStart);
    if (attributeName.empty()) {
      ++i;
      continue;
    }
    while (i < size && IsXmlSpace(attributes[i])) ++i;
    std::wstring_view value;
    if (i < size && attributes[i] == L'=') {
      ++i;
      while (i < size && IsXmlSpace(attributes[i])) ++i;
      if (i < size && (attributes[i] == L'"' || attributes[i] == L'\'')) {
        const wchar_t quote = attributes[i++];
        const std::size_t close = std::min(attributes.find(quote, i), size);
        value = attributes.substr(i, close - i);
        i = close + 1;
      } else {
        const std::size_t valueStart = i;
        while (i < size && !IsXmlSpace(attributes[i]) && attributes[i] != L'>') ++i;
        value = attributes.substr(valueStart, i - valueStart);
      }
    }
    if (EqualIgnoringCase(attributeName, name)) return value;
  }
  return std::nullopt;
}

// "text/html; charset=windows-1251" -> "windows-1251"; nullopt when there is no charset.
std::optional<std::wstring_view> CharsetOf(std::wstring_view content) {
  const std::size_t word = FindIgnoringCase(content, L"charset");
  if (word == std::wstring_view::npos) return std::nullopt;
  std::size_t i = word + 7;
  while (i < content.size() && IsXmlSpace(content[i])) ++i;
  if (i >= content.size() || content[i] != L'=') return std::nullopt;
  ++i;
  while (i < content.size() && IsXmlSpace(content[i])) ++i;
  const std::size_t start = i;
  while (i < content.size() && !xml::EndsName(content[i])) ++i;
  return content.substr(start, i - start);
}

}  // namespace

std::wstring FindDeclaredEncoding(std::wstring_view text) {
  NodeScanner scanner(text, /*ignoreCase=*/true);
  bool seenStartTag = false;
  std::int32_t position = 0;
  for (;;) {
    const XmlNode node = scanner.Next(position);
    position = node.start + node.length;
    const std::wstring_view span =
        text.substr(static_cast<std::size_t>(node.start), static_cast<std::size_t>(node.length));
    switch (node.kind) {
      case NodeKind::kProcessingInstruction: {
        if (node.start != 0) break;
        // "<?xml version='1.0' encoding='...'?>"
        const std::wstring_view inside = span.substr(2, span.size() - 4);
        std::size_t targetEnd = 0;
        while (targetEnd < inside.size() && !IsXmlSpace(inside[targetEnd]) &&
               inside[targetEnd] != L'?') {
          ++targetEnd;
        }
        if (!EqualIgnoringCase(inside.substr(0, targetEnd), L"xml")) break;
        const auto encoding = FindAttribute(inside.substr(targetEnd), L"encoding");
        return encoding ? std::wstring(*encoding) : std::wstring();
      }
      case NodeKind::kStartTag: {
        const std::wstring_view name = text.substr(static_cast<std::size_t>(node.nameStart),
                                                   static_cast<std::size_t>(node.nameLength));
        if (!seenStartTag) {
          seenStartTag = true;
          if (!EqualIgnoringCase(name, L"html")) return {};
          break;
        }
        if (!EqualIgnoringCase(name, L"meta")) break;
        const std::size_t attributesStart =
            static_cast<std::size_t>(node.nameStart - node.start + node.nameLength);
        const std::wstring_view attributes =
            span.substr(attributesStart, span.size() - attributesStart - 1);
        const auto httpEquiv = FindAttribute(attributes, L"http-equiv");
        const auto content = FindAttribute(attributes, L"content");
        if (!httpEquiv || !content || !EqualIgnoringCase(*httpEquiv, L"Content-Type")) break;
        const auto charset = CharsetOf(*content);
        return charset ? std::wstring(*charset) : std::wstring();
      }
      case NodeKind::kEndTag: {
        const std::wstring_view name = text.substr(static_cast<std::size_t>(node.nameStart),
                                                   static_cast<std::size_t>(node.nameLength));
        if (EqualIgnoringCase(name, L"head")) return {};
        break;
      }
      case NodeKind::kMalformed:
      case NodeKind::kEndOfText:
        return {};
      default:
        break;
    }
  }
}

bool PassesUtf8Test(std::string_view bytes) {
  std::size_t i = 0;
  const std::size_t size = bytes.size();
  while (i < size) {
    const auto lead = static_cast<unsigned char>(bytes[i++]);
    if (lead < 0x80) continue;
    std::size_t following = 0;
    if (!(lead & 0x20)) {
      following = 1;
    } else if (!(lead & 0x10)) {
      following = 2;
    } else if (!(lead & 0x08)) {
      following = 3;
    } else {
      return false;
    }
    for (std::size_t k = 0; k < following; ++k, ++i) {
      if (i >= size || !(static_cast<unsigned char>(bytes[i]) & 0x80)) return false;
    }
  }
  return true;
}

std::int32_t ConvertToUtf16(const char* bytes, std::int32_t length, std::wstring_view encoding,
                            wchar_t* target, std::int32_t targetSize) {
  std::int32_t codePage = CodePageFromName(encoding);
  if (codePage < 0) codePage = 0;
  return ConvertCodePageToUtf16(static_cast<std::uint32_t>(codePage), bytes, length, target,
                                targetSize);
}

void DocumentFileReader::RecordFileError(std::uint32_t code) {
  AddResult(resultText_, L"file_error", SystemErrorText(code), kResultMsg | kResultN,
            static_cast<std::int64_t>(code));
}

bool DocumentFileReader::Open(std::wstring_view path) {
  resultText_.clear();
  encoding_.clear();
  // A mark from an earlier load must not stay behind, whatever happens to this one.
  flags_ &= ~(kUtf16File | kUtf8Mark | kBigEndian);
  file_.reset(OpenFileForReading(path));
  if (!file_) {
    RecordFileError(LastSystemError());
    return false;
  }
  unitSize_ = 1;
  const std::int64_t size = FileSize(file_.get());
  if (size < 0) {
    RecordFileError(LastSystemError());
    file_.reset();
    return false;
  }
  // Sizes and offsets are 32-bit.
  if (size > std::numeric_limits<std::int32_t>::max()) {
    RecordFileError(FileTooLargeError());
    file_.reset();
    return false;
  }
  fileSize_ = static_cast<std::int32_t>(size);
  std::string head(std::min<std::size_t>(static_cast<std::size_t>(size), kDetectionBytes), '\0');
  if (!head.empty() && std::fread(head.data(), 1, head.size(), file_.get()) != head.size()) {
    RecordFileError(LastSystemError());
    file_.reset();
    return false;
  }
  if (size == 0) return true;

  bool marked = false;
  for (const ByteOrderMark& mark : kMarks) {
    if (head.compare(0, mark.bytes.size(), mark.bytes) != 0) continue;
    flags_ |= mark.flag;
    encoding_ = mark.encoding;
    if (mark.bytes.size() == 2) unitSize_ = 2;
    filePosition_ = static_cast<std::int32_t>(mark.bytes.size());
    marked = true;
    break;
  }
  if (!marked) {
    const std::int32_t count = ConvertCodePageToUtf16(
        65001, head.data(), static_cast<std::int32_t>(head.size()), nullptr, 0);
    std::wstring decoded(static_cast<std::size_t>(count), L'\0');
    ConvertCodePageToUtf16(65001, head.data(), static_cast<std::int32_t>(head.size()),
                           decoded.data(), count);
    encoding_ = FindDeclaredEncoding(decoded);
    filePosition_ = 0;
  }
  if (!SeekFile(file_.get(), filePosition_)) {
    RecordFileError(LastSystemError());
    file_.reset();
    return false;
  }
  if (encoding_.empty() && head[0] == '<') encoding_ = L"UTF-8";
  if (marked) AddResult(resultText_, L"bom", {}, 0);
  return true;
}

bool DocumentFileReader::ReadUnits(std::string& buffer) {
  buffer.resize(static_cast<std::size_t>(bytesToRead_));
  if (std::fread(buffer.data(), 1, buffer.size(), file_.get()) != buffer.size()) {
    RecordFileError(LastSystemError());
    return false;
  }
  filePosition_ += bytesToRead_;
  unitsRead_ = bytesToRead_ / unitSize_;
  buffer.resize(static_cast<std::size_t>(unitsRead_) * static_cast<std::size_t>(unitSize_));
  AddResult(resultText_, L"read", encoding_, kResultEncoding | kResultLength, unitsRead_);

  std::size_t kept = 0;
  if (unitSize_ == 1) {
    kept =
        static_cast<std::size_t>(std::remove(buffer.begin(), buffer.end(), '\0') - buffer.begin());
  } else {
    for (std::size_t i = 0; i + 1 < buffer.size(); i += 2) {
      if (buffer[i] == '\0' && buffer[i + 1] == '\0') continue;
      buffer[kept++] = buffer[i];
      buffer[kept++] = buffer[i + 1];
    }
    kept /= 2;
  }
  const std::int32_t removed = unitsRead_ - static_cast<std::int32_t>(kept);
  if (removed > 0) {
    AddResult(resultText_, L"nulls_removed", {}, kResultCount, removed);
    unitsRead_ -= removed;
  }
  buffer.resize(static_cast<std::size_t>(unitsRead_) * static_cast<std::size_t>(unitSize_));
  if (unitSize_ == 2 && (flags_ & kBigEndian)) {
    for (std::size_t i = 0; i + 1 < buffer.size(); i += 2) std::swap(buffer[i], buffer[i + 1]);
    AddResult(resultText_, L"endian_swap", {}, 0);
  }
  return true;
}

bool DocumentFileReader::ReadText(std::wstring& target) {
  resultText_.clear();
  target.clear();
  if (!file_) return false;
  if (bytesToRead_ == 0) {
    AddResult(resultText_, L"read", encoding_, kResultEncoding | kResultLength, 0);
    return true;
  }
  std::string buffer;
  if (flags_ & (kUtf16File | kBigEndian)) {
    target.reserve(static_cast<std::size_t>(bytesToRead_ / 2 + bytesToRead_ / 200));
    if (!ReadUnits(buffer)) return false;
    target.resize(static_cast<std::size_t>(unitsRead_));
    for (std::size_t i = 0; i < target.size(); ++i) {
      target[i] = static_cast<wchar_t>(static_cast<unsigned char>(buffer[2 * i]) |
                                       (static_cast<unsigned char>(buffer[2 * i + 1]) << 8));
    }
    return true;
  }

  if (!ReadUnits(buffer)) return false;
  if (encoding_.empty()) {
    if (PassesUtf8Test(buffer)) {
      encoding_ = L"UTF-8";
      AddResult(resultText_, L"read", encoding_, kResultEncoding | kResultModify);
    }
    AddResult(resultText_, L"utf8_detection", {}, 0);
  }
  const std::int32_t length = static_cast<std::int32_t>(buffer.size());
  const std::int32_t count = ConvertToUtf16(buffer.data(), length, encoding_, nullptr, 0);
  target.reserve(static_cast<std::size_t>(count) + static_cast<std::size_t>(count) / 100);
  target.resize(static_cast<std::size_t>(count));
  const std::int32_t converted =
      ConvertToUtf16(buffer.data(), length, encoding_, target.data(), count);
  target.resize(static_cast<std::size_t>(converted));
  AddResult(resultText_, L"converted_to", L"UTF-16", kResultEncoding | kResultLength, converted);
  return true;
}

void DocumentFileReader::Close() {
  std::FILE* file = file_.release();
  if (file && std::fclose(file) != 0) RecordFileError(LastSystemError());
  flags_ &= ~kReadBit;
}

}  // namespace xml
