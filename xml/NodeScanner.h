// Splits document text into nodes, one call per node, from a given position. The scanner is
// tolerant: malformed markup becomes a malformed node plus a pending result record, and scanning
// goes on after it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace xml {

enum class NodeKind : int {
  kEndTag = 0,
  kStartTag = 1,
  kText = 2,
  kWhitespace = 4,
  kCdataSection = 8,
  kProcessingInstruction = 16,
  kComment = 32,
  kDocumentType = 64,
  kMalformed = -1,
  kEndOfText = -2,
};

struct XmlNode {
  NodeKind kind = NodeKind::kEndOfText;
  std::int32_t start = 0;
  std::int32_t length = 0;
  std::int32_t nameStart = 0;   // start and end tags only
  std::int32_t nameLength = 0;  // start and end tags only
  bool emptyElement = false;    // start tags only: "<a/>"
};

inline bool IsXmlSpace(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r';
}

// The characters that end a tag name, and a charset name in a meta tag.
inline bool EndsName(wchar_t c) {
  switch (c) {
    case L' ':
    case L'\t':
    case L'\n':
    case L'\r':
    case L'<':
    case L'>':
    case L'=':
    case L'\\':
    case L'/':
    case L'?':
    case L'!':
    case L'"':
    case L'\'':
    case L';':
      return true;
    default:
      return false;
  }
}

class NodeScanner {
 public:
  // The text must outlive the scanner and be shorter than 2^31 code units. With ignoreCase the
  // letters that pick a kind of markup ("<!DOCTYPE", "<![CDATA[", "<!ELEMENT"...) match in either
  // case, as HTML documents need.
  explicit NodeScanner(std::wstring_view text, bool ignoreCase = false)
      : text_(text), ignoreCase_(ignoreCase) {}

  // The node that begins at position (end of text at or after the end).
  XmlNode Next(std::int32_t position);

  bool HasPendingRecords() const { return !pending_.empty(); }
  // Appends the pending records to a result text (within its cap) and forgets them.
  void MovePendingRecords(std::wstring& resultText);

 private:
  struct PendingRecord {
    const wchar_t* name;
    const wchar_t* type;  // "type" attribute, or null
    std::int32_t offset;
  };

  bool Is(wchar_t c, wchar_t upper) const {
    return c == upper || (ignoreCase_ && c == static_cast<wchar_t>(upper + (L'a' - L'A')));
  }
  void Record(const wchar_t* name, std::int32_t offset, const wchar_t* type = nullptr);
  XmlNode Malformed(std::size_t start, std::size_t end) const;
  XmlNode Unterminated(std::size_t start, const wchar_t* type);
  XmlNode ScanCharacterData(std::size_t start) const;
  XmlNode ScanStartTag(std::size_t start);
  XmlNode ScanEndTag(std::size_t start);
  XmlNode ScanTerminated(std::size_t start, std::size_t from, std::wstring_view terminator,
                         NodeKind kind, const wchar_t* type);
  XmlNode ScanDocumentType(std::size_t start);
  XmlNode SkipMalformed(std::size_t start, std::size_t from) const;
  // Past the end of a "<" construct nested in a document type, or npos when the text ends.
  std::size_t SkipNestedDeclaration(std::size_t at);
  // Just past the first ">" at or after from whose preceding characters complete terminator and
  // lie at or after from; npos when there is none.
  std::size_t FindTerminator(std::size_t from, std::wstring_view terminator) const;
  std::size_t Find(wchar_t c, std::size_t from) const;

  std::wstring_view text_;
  bool ignoreCase_;
  std::vector<PendingRecord> pending_;
};

}  // namespace xml
