// One XML document held as UTF-16 text, with its elements indexed in a flat table by one forward
// scan, a three-level cursor (parent, main, child) that only moves forward, and a result text
// that logs what happened while the document was read and parsed. The scan is tolerant:
// malformed markup is noted and the document is then reported as not well-formed.
//
// Typical use, for each value:
//   doc.FindChildElement(L"name"); doc.EnterElement();
//   value = doc.GetElementText(doc.GetMainPosition()); doc.LeaveElement();
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "xml/ElementTable.h"

// Encoding flags a load leaves in the document flags.
inline constexpr std::uint32_t kXmlUtf16File = 0x1;
inline constexpr std::uint32_t kXmlUtf8Mark = 0x4;
inline constexpr std::uint32_t kXmlBigEndian = 0x80;

class CXmlDocument {
 public:
  // Parses the empty text: the cursor stands at the document level.
  CXmlDocument();
  CXmlDocument(const CXmlDocument&) = delete;
  CXmlDocument& operator=(const CXmlDocument&) = delete;

  // Replaces the text, clears the result text and parses; answers whether the document is
  // well-formed: no malformed node, no stray end tag, no unended start tag, exactly one
  // top-level element.
  bool SetText(std::wstring_view text);
  bool SetText(std::wstring&& text);
  bool SetText(const wchar_t* text);  // null: no text

  // Reads a document file in any supported encoding, decodes it to UTF-16 and parses it. The
  // result text then holds the file records ("file_error", "bom", "read", ...) followed by the
  // parse records.
  bool Load(std::wstring_view path);

  bool IsWellFormed() const { return wellFormed_; }
  const std::wstring& GetText() const { return text_; }
  const std::wstring& GetResultText() const { return resultText_; }
  std::uint32_t GetDocumentFlags() const { return documentFlags_; }

  // Moves the main position to the next element at the current level named name (any element
  // when name is empty). Searches continue after the previous hit and never wrap.
  bool FindElement(std::wstring_view name = {});
  // Moves the child position to the next child of the main element named name (any when
  // empty); selects the first top-level element first when there is no main position.
  bool FindChildElement(std::wstring_view name = {});
  // Descends: the main element becomes the parent, the child the main element.
  bool EnterElement();
  // Ascends: the parent becomes the main element, the main element the child.
  bool LeaveElement();

  // The element's text with references decoded and CDATA sections included; empty for index 0,
  // an empty or unended element, and an element that has child elements. Not trimmed.
  std::wstring GetElementText(std::int32_t index) const;

  std::int32_t GetParentPosition() const { return parentPosition_; }
  std::int32_t GetMainPosition() const { return mainPosition_; }
  std::int32_t GetChildPosition() const { return childPosition_; }
  std::int32_t GetNodeType() const { return nodeType_; }
  std::int32_t GetNodeOffset() const { return nodeOffset_; }
  std::int32_t GetNodeLength() const { return nodeLength_; }

  // Number of records in use (record 0, the document, included).
  std::int32_t GetElementCount() const { return nextFreeIndex_; }
  // Record of an index below GetElementCount(); null otherwise.
  const xml::ElementRecord* GetElement(std::int32_t index) const;
  // The tag name of an element, read from the text.
  std::wstring_view GetElementName(std::int32_t index) const;
  std::int64_t GetTableCapacity() const { return table_.Capacity(); }

 private:
  bool Parse();
  void ResetCursor();
  bool NameMatches(std::int32_t element, std::wstring_view name) const;
  // The element to take: candidate or one of its next siblings; 0 when none.
  std::int32_t FindFrom(std::int32_t candidate, std::wstring_view name) const;

  std::wstring text_;
  std::wstring resultText_;
  std::int32_t parentPosition_ = 0;
  std::int32_t mainPosition_ = 0;
  std::int32_t childPosition_ = 0;
  std::int32_t nextFreeIndex_ = 0;
  std::int32_t nodeType_ = 0;
  std::int32_t nodeOffset_ = 0;
  std::int32_t nodeLength_ = 0;
  std::uint32_t documentFlags_ = 0;
  xml::ElementTable table_;
  bool wellFormed_ = false;
};
