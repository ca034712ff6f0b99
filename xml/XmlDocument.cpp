#include "xml/XmlDocument.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "xml/CharacterReferences.h"
#include "xml/DocumentFileReader.h"
#include "xml/NodeScanner.h"
#include "xml/ResultText.h"
#include "xml/TreeBuilder.h"

using xml::ElementRecord;

CXmlDocument::CXmlDocument() {
  SetText(std::wstring_view{});
}

bool CXmlDocument::SetText(std::wstring_view text) {
  text_.assign(text);
  resultText_.clear();
  return Parse();
}

bool CXmlDocument::SetText(std::wstring&& text) {
  text_ = std::move(text);
  resultText_.clear();
  return Parse();
}

bool CXmlDocument::SetText(const wchar_t* text) {
  return SetText(text ? std::wstring_view(text) : std::wstring_view());
}

bool CXmlDocument::Load(std::wstring_view path) {
  xml::DocumentFileReader reader(documentFlags_ | xml::DocumentFileReader::kReadBit);
  const bool opened = reader.Open(path);
  resultText_ = reader.GetResultText();
  text_.clear();
  documentFlags_ = reader.GetFlags() & ~xml::DocumentFileReader::kReadBit;
  // Parsing the empty text writes no record and leaves no element of an earlier document
  // behind, whose offsets would point past the now empty text.
  if (!opened) return Parse();
  reader.SetBytesToRead(reader.GetFileSize() - reader.GetFilePosition());
  const bool read = reader.ReadText(text_);
  reader.Close();
  resultText_.append(reader.GetResultText());
  documentFlags_ = reader.GetFlags() & ~xml::DocumentFileReader::kReadBit;
  if (!read) text_.clear();
  return Parse();
}

void CXmlDocument::ResetCursor() {
  parentPosition_ = 0;
  mainPosition_ = 0;
  childPosition_ = 0;
  nodeType_ = 0;
  nodeOffset_ = 0;
  nodeLength_ = 0;
}

bool CXmlDocument::Parse() {
  ResetCursor();
  // Offsets are 32-bit; a longer text is not parsed at all.
  if (text_.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    text_.clear();
  }
  nextFreeIndex_ = 1;
  table_.Reserve(static_cast<std::int64_t>(text_.size() / 64) + 8);
  table_[0] = ElementRecord{};

  if (!text_.empty()) {
    xml::TreeBuilder builder(text_, table_, resultText_, nextFreeIndex_);
    const std::int32_t first = builder.Build();
    table_[0].length = static_cast<std::int32_t>(text_.size());
    if (first == 0) {
      xml::AddResult(resultText_, L"no_root_element", {}, 0);
    } else {
      table_[0].firstChild = first;
      if (table_[first].nextSibling != 0) xml::AddResult(resultText_, L"root_has_sibling", {}, 0);
    }
  }
  ResetCursor();
  const ElementRecord& document = table_[0];
  wellFormed_ = !(document.flagsAndLevel & xml::kDocumentIllFormed) && document.firstChild != 0 &&
                table_[document.firstChild].nextSibling == 0;
  return wellFormed_;
}

const ElementRecord* CXmlDocument::GetElement(std::int32_t index) const {
  if (index < 0 || index >= nextFreeIndex_) return nullptr;
  return &table_[index];
}

std::wstring_view CXmlDocument::GetElementName(std::int32_t index) const {
  const ElementRecord* record = GetElement(index);
  if (!record || index == 0) return {};
  const std::wstring_view tag(text_.data() + record->start,
                              static_cast<std::size_t>(xml::StartTagLength(*record)));
  std::size_t begin = 1;
  while (begin < tag.size() && xml::IsXmlSpace(tag[begin])) ++begin;
  if (begin >= tag.size()) return {};
  std::size_t end = begin + 1;  // at least one character
  while (end < tag.size() && !xml::EndsName(tag[end])) ++end;
  return tag.substr(begin, end - begin);
}

bool CXmlDocument::NameMatches(std::int32_t element, std::wstring_view name) const {
  return GetElementName(element) == name;
}

std::int32_t CXmlDocument::FindFrom(std::int32_t candidate, std::wstring_view name) const {
  if (name.empty()) return candidate;
  for (; candidate != 0; candidate = table_[candidate].nextSibling) {
    if (NameMatches(candidate, name)) return candidate;
  }
  return 0;
}

bool CXmlDocument::FindElement(std::wstring_view name) {
  if (table_.Capacity() == 0) return false;
  const std::int32_t first =
      mainPosition_ != 0 ? table_[mainPosition_].nextSibling : table_[parentPosition_].firstChild;
  const std::int32_t found = FindFrom(first, name);
  if (found == 0) return false;
  parentPosition_ = table_[found].parent;
  mainPosition_ = found;
  childPosition_ = 0;
  nodeType_ = 1;
  nodeOffset_ = 0;
  nodeLength_ = 0;
  return true;
}

bool CXmlDocument::FindChildElement(std::wstring_view name) {
  if (mainPosition_ == 0 && !FindElement()) return false;
  const std::int32_t first =
      childPosition_ != 0 ? table_[childPosition_].nextSibling : table_[mainPosition_].firstChild;
  const std::int32_t found = FindFrom(first, name);
  if (found == 0) return false;
  childPosition_ = found;
  mainPosition_ = table_[found].parent;
  parentPosition_ = table_[mainPosition_].parent;
  nodeType_ = mainPosition_ != 0 ? 1 : 0;
  nodeOffset_ = 0;
  nodeLength_ = 0;
  return true;
}

bool CXmlDocument::EnterElement() {
  if (mainPosition_ == 0) return false;
  parentPosition_ = mainPosition_;
  mainPosition_ = childPosition_;
  childPosition_ = 0;
  nodeType_ = mainPosition_ != 0 ? 1 : 0;
  nodeOffset_ = 0;
  nodeLength_ = 0;
  return true;
}

bool CXmlDocument::LeaveElement() {
  if (parentPosition_ == 0) return false;
  childPosition_ = mainPosition_;
  mainPosition_ = parentPosition_;
  parentPosition_ = table_[mainPosition_].parent;
  nodeType_ = 1;
  nodeOffset_ = 0;
  nodeLength_ = 0;
  return true;
}

std::wstring CXmlDocument::GetElementText(std::int32_t index) const {
  std::wstring result;
  const ElementRecord* record = GetElement(index);
  if (!record || index == 0 || record->firstChild != 0) return result;
  const std::int64_t startTagLength = xml::StartTagLength(*record);
  if (record->length == startTagLength) return result;
  // Tag lengths are cut to their bit fields in hostile documents; never step outside the
  // element or the text.
  const std::int64_t elementEnd =
      std::min<std::int64_t>(static_cast<std::int64_t>(record->start) + record->length,
                             static_cast<std::int64_t>(text_.size()));
  const std::int64_t contentStart = record->start + startTagLength;
  const std::int64_t contentEnd = elementEnd - xml::EndTagLength(*record);
  if (contentEnd <= contentStart) return result;
  const std::wstring_view content(text_.data() + contentStart,
                                  static_cast<std::size_t>(contentEnd - contentStart));

  if (content.find(L'<') == std::wstring_view::npos) {
    xml::AppendDecodedText(result, content);
    return result;
  }
  xml::NodeScanner scanner(content);
  std::int32_t position = 0;
  for (;;) {
    const xml::XmlNode node = scanner.Next(position);
    if (node.kind == xml::NodeKind::kEndOfText) break;
    const std::wstring_view span =
        content.substr(static_cast<std::size_t>(node.start), static_cast<std::size_t>(node.length));
    if (node.kind == xml::NodeKind::kText) {
      xml::AppendDecodedText(result, span);
    } else if (node.kind == xml::NodeKind::kCdataSection) {
      constexpr std::size_t kOpen = 9;   // "<![CDATA["
      constexpr std::size_t kClose = 3;  // "]]>"
      if (span.size() >= kOpen + kClose)
        result.append(span.substr(kOpen, span.size() - kOpen - kClose));
    }
    position = node.start + node.length;
  }
  return result;
}
