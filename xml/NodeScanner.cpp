#include "xml/NodeScanner.h"

#include <cwchar>

#include "xml/ResultText.h"

namespace xml {

namespace {

// Enough records to fill the capped result text many times over; more could never be written.
constexpr std::size_t kPendingLimit = 64;

bool IsNameStart(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L':' || c == L'_' ||
         c >= L'{';
}

bool EndsTagName(wchar_t c) {
  return IsXmlSpace(c) || c == L'/' || c == L'>';
}

}  // namespace

std::size_t NodeScanner::Find(wchar_t c, std::size_t from) const {
  if (from >= text_.size()) return std::wstring_view::npos;
  const wchar_t* found = std::wmemchr(text_.data() + from, c, text_.size() - from);
  return found ? static_cast<std::size_t>(found - text_.data()) : std::wstring_view::npos;
}

void NodeScanner::Record(const wchar_t* name, std::int32_t offset, const wchar_t* type) {
  if (pending_.size() < kPendingLimit) pending_.push_back({name, type, offset});
}

void NodeScanner::MovePendingRecords(std::wstring& resultText) {
  for (const PendingRecord& record : pending_) {
    if (record.type) {
      AddResult(resultText, record.name, record.type, kResultType | kResultOffset, record.offset);
    } else {
      AddResult(resultText, record.name, {}, kResultOffset, record.offset);
    }
  }
  pending_.clear();
}

XmlNode NodeScanner::Malformed(std::size_t start, std::size_t end) const {
  XmlNode node;
  node.kind = NodeKind::kMalformed;
  node.start = static_cast<std::int32_t>(start);
  node.length = static_cast<std::int32_t>(end - start);
  return node;
}

XmlNode NodeScanner::Unterminated(std::size_t start, const wchar_t* type) {
  Record(L"unterminated_tag_syntax", static_cast<std::int32_t>(start), type);
  return Malformed(start, text_.size());
}

XmlNode NodeScanner::Next(std::int32_t position) {
  const std::size_t start = position < 0 ? 0 : static_cast<std::size_t>(position);
  const std::size_t size = text_.size();
  if (start >= size) {
    XmlNode node;
    node.start = static_cast<std::int32_t>(size);
    return node;
  }
  const wchar_t* t = text_.data();
  if (t[start] != L'<') return ScanCharacterData(start);

  if (start + 1 >= size) return Unterminated(start, L"tag");
  const wchar_t second = t[start + 1];
  if (second == L'/') return ScanEndTag(start);
  if (second == L'?') {
    return ScanTerminated(start, start + 2, L"?>", NodeKind::kProcessingInstruction,
                          L"processing_instruction");
  }
  if (second == L'!') {
    if (start + 2 >= size) return Unterminated(start, L"tag");
    const wchar_t third = t[start + 2];
    if (third == L'-') {
      if (start + 3 >= size) return Unterminated(start, L"tag");
      if (t[start + 3] == L'-') {
        return ScanTerminated(start, start + 4, L"-->", NodeKind::kComment, L"comment");
      }
      Record(L"comment_tag_syntax", static_cast<std::int32_t>(start));
      return SkipMalformed(start, start + 3);
    }
    if (third == L'[') {
      if (start + 3 >= size) return Unterminated(start, L"tag");
      if (Is(t[start + 3], L'C')) {
        return ScanTerminated(start, start + 4, L"]]>", NodeKind::kCdataSection, L"cdata_section");
      }
      Record(L"cdata_section_syntax", static_cast<std::int32_t>(start));
      return SkipMalformed(start, start + 3);
    }
    if (Is(third, L'D')) return ScanDocumentType(start);
    Record(L"exclamation_tag_syntax", static_cast<std::int32_t>(start));
    return SkipMalformed(start, start + 2);
  }
  if (IsNameStart(second)) return ScanStartTag(start);
  Record(L"first_tag_syntax", static_cast<std::int32_t>(start));
  return SkipMalformed(start, start + 1);
}

XmlNode NodeScanner::ScanCharacterData(std::size_t start) const {
  const wchar_t* t = text_.data();
  const std::size_t size = text_.size();
  XmlNode node;
  node.kind = NodeKind::kText;
  std::size_t at = start;
  if (IsXmlSpace(t[at])) {
    while (at < size && IsXmlSpace(t[at])) ++at;
    if (at >= size || t[at] == L'<') {
      node.kind = NodeKind::kWhitespace;
      node.start = static_cast<std::int32_t>(start);
      node.length = static_cast<std::int32_t>(at - start);
      return node;
    }
  }
  const std::size_t end = Find(L'<', at);
  node.start = static_cast<std::int32_t>(start);
  node.length = static_cast<std::int32_t>((end == std::wstring_view::npos ? size : end) - start);
  return node;
}

XmlNode NodeScanner::SkipMalformed(std::size_t start, std::size_t from) const {
  const wchar_t* t = text_.data();
  const std::size_t size = text_.size();
  wchar_t lastSignificant = 0;
  std::size_t at = from;
  while (at < size) {
    const wchar_t c = t[at];
    if (c == L'>') return Malformed(start, at + 1);
    if (c == L'<') return Malformed(start, at);
    if ((c == L'"' || c == L'\'') && lastSignificant == L'=') {
      const std::size_t close = Find(c, at + 1);
      if (close == std::wstring_view::npos) break;
      at = close + 1;
      lastSignificant = c;
      continue;
    }
    if (!IsXmlSpace(c)) lastSignificant = c;
    ++at;
  }
  return Malformed(start, size);
}

XmlNode NodeScanner::ScanStartTag(std::size_t start) {
  const wchar_t* t = text_.data();
  const std::size_t size = text_.size();
  std::size_t nameEnd = start + 1;
  while (nameEnd < size && !EndsTagName(t[nameEnd])) ++nameEnd;

  wchar_t lastSignificant = 0;
  std::size_t afterClosingQuote = std::wstring_view::npos;
  std::size_t at = nameEnd;
  while (at < size) {
    const wchar_t c = t[at];
    if (c == L'>') {
      XmlNode node;
      node.kind = NodeKind::kStartTag;
      node.start = static_cast<std::int32_t>(start);
      node.length = static_cast<std::int32_t>(at + 1 - start);
      node.nameStart = static_cast<std::int32_t>(start + 1);
      node.nameLength = static_cast<std::int32_t>(nameEnd - start - 1);
      const std::size_t slash = at - 1;
      node.emptyElement = t[slash] == L'/' && (slash == nameEnd || IsXmlSpace(t[slash - 1]) ||
                                               slash == afterClosingQuote);
      return node;
    }
    if ((c == L'"' || c == L'\'') && lastSignificant == L'=') {
      const std::size_t close = Find(c, at + 1);
      if (close == std::wstring_view::npos) break;
      at = close + 1;
      afterClosingQuote = at;
      lastSignificant = c;
      continue;
    }
    if (!IsXmlSpace(c)) lastSignificant = c;
    ++at;
  }
  return Unterminated(start, L"start_tag");
}

XmlNode NodeScanner::ScanEndTag(std::size_t start) {
  const wchar_t* t = text_.data();
  const std::size_t size = text_.size();
  std::size_t nameEnd = start + 2;
  while (nameEnd < size && !EndsTagName(t[nameEnd])) ++nameEnd;
  const std::size_t close = Find(L'>', nameEnd);
  if (close == std::wstring_view::npos) return Unterminated(start, L"end_tag");
  XmlNode node;
  node.kind = NodeKind::kEndTag;
  node.start = static_cast<std::int32_t>(start);
  node.length = static_cast<std::int32_t>(close + 1 - start);
  node.nameStart = static_cast<std::int32_t>(start + 2);
  node.nameLength = static_cast<std::int32_t>(nameEnd - start - 2);
  return node;
}

std::size_t NodeScanner::FindTerminator(std::size_t from, std::wstring_view terminator) const {
  const std::size_t before = terminator.size() - 1;  // characters ahead of the ">"
  std::size_t at = from + before;
  while ((at = Find(L'>', at)) != std::wstring_view::npos) {
    if (text_.compare(at - before, before, terminator.substr(0, before)) == 0) return at + 1;
    ++at;
  }
  return std::wstring_view::npos;
}

XmlNode NodeScanner::ScanTerminated(std::size_t start, std::size_t from,
                                    std::wstring_view terminator, NodeKind kind,
                                    const wchar_t* type) {
  const std::size_t end = FindTerminator(from, terminator);
  if (end == std::wstring_view::npos) return Unterminated(start, type);
  XmlNode node;
  node.kind = kind;
  node.start = static_cast<std::int32_t>(start);
  node.length = static_cast<std::int32_t>(end - start);
  return node;
}

std::size_t NodeScanner::SkipNestedDeclaration(std::size_t at) {
  const wchar_t* t = text_.data();
  const std::size_t size = text_.size();
  constexpr std::size_t npos = std::wstring_view::npos;
  if (at + 1 >= size) return npos;
  if (t[at + 1] == L'?') return FindTerminator(at + 2, L"?>");
  if (t[at + 1] != L'!') {
    const std::size_t close = Find(L'>', at + 1);
    return close == npos ? npos : close + 1;
  }
  if (at + 2 >= size) return npos;
  const wchar_t kind = t[at + 2];
  if (kind == L'-' && at + 3 < size && t[at + 3] == L'-') return FindTerminator(at + 4, L"-->");
  if (kind == L'-' && at + 3 >= size) return npos;
  if (Is(kind, L'E') || Is(kind, L'A') || Is(kind, L'N')) {
    bool inDouble = false;
    bool inSingle = false;
    for (std::size_t i = at + 3; i < size; ++i) {
      const wchar_t c = t[i];
      if (c == L'"' && !inSingle) {
        inDouble = !inDouble;
      } else if (c == L'\'' && !inDouble) {
        inSingle = !inSingle;
      } else if (c == L'>' && !inDouble && !inSingle) {
        return i + 1;
      }
    }
    return npos;
  }
  Record(L"doctype_tag_syntax", static_cast<std::int32_t>(at));
  const std::size_t close = Find(L'>', at + 2);
  return close == npos ? npos : close + 1;
}

XmlNode NodeScanner::ScanDocumentType(std::size_t start) {
  const std::size_t size = text_.size();
  std::size_t at = start + 3;
  while (at < size) {
    const std::size_t special = text_.find_first_of(L"<>", at);
    if (special == std::wstring_view::npos) break;
    if (text_[special] == L'>') {
      XmlNode node;
      node.kind = NodeKind::kDocumentType;
      node.start = static_cast<std::int32_t>(start);
      node.length = static_cast<std::int32_t>(special + 1 - start);
      return node;
    }
    at = SkipNestedDeclaration(special);
    if (at == std::wstring_view::npos) break;
  }
  return Unterminated(start, L"document_type");
}

}  // namespace xml
