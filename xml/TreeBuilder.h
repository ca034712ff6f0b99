// Builds the element tree from the scanner's nodes: a stack of open elements, end tags matched
// against it by name, stray end tags noted, and unended elements closed with their children
// moved up to their parent.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xml/ElementTable.h"
#include "xml/NodeScanner.h"

namespace xml {

class TreeBuilder {
 public:
  // Record 0 of the table stands for the document and must be cleared; nextFreeIndex is 1.
  TreeBuilder(std::wstring_view text, ElementTable& table, std::wstring& resultText,
              std::int32_t& nextFreeIndex);

  // Runs over the whole text; answers the first element created, or 0.
  std::int32_t Build();

 private:
  struct OpenElement {
    std::int32_t element;
    std::int32_t nameStart;
    std::int32_t nameLength;
  };

  std::wstring_view Name(const OpenElement& open) const {
    return text_.substr(static_cast<std::size_t>(open.nameStart),
                        static_cast<std::size_t>(open.nameLength));
  }
  void StartTag(const XmlNode& node);
  void EndTag(const XmlNode& node);
  void Malformed(NodeScanner& scanner);
  // Closes the open elements above the first keep ones as unended, innermost first.
  void CloseUnended(std::size_t keep, std::int32_t offset2);
  void MarkIllFormed(std::int32_t element);
  void NoteTagTooLong(std::int32_t element, std::wstring_view name);
  // Where an end tag's name is in the stack (index), or -1.
  std::ptrdiff_t FindOpen(std::wstring_view name);
  void Push(const OpenElement& open);
  void Pop();

  std::wstring_view text_;
  ElementTable& table_;
  std::wstring& resultText_;
  std::int32_t& nextFreeIndex_;
  std::vector<OpenElement> open_;
  std::int32_t current_ = 0;
  std::int32_t firstElement_ = 0;
  // Failed searches cost a walk of the whole stack. Once they have cost enough, open names are
  // counted so that a stray end tag is recognised at once and hostile input stays linear.
  std::int64_t failedSearchWork_ = 0;
  bool countNames_ = false;
  std::unordered_map<std::wstring_view, std::int32_t> openNameCounts_;
};

}  // namespace xml
