#include "xml/TreeBuilder.h"

#include <cwchar>

#include "xml/ResultText.h"

namespace xml {

namespace {

constexpr std::int64_t kFailedSearchBudget = 1 << 20;

}  // namespace

TreeBuilder::TreeBuilder(std::wstring_view text, ElementTable& table, std::wstring& resultText,
                         std::int32_t& nextFreeIndex)
    : text_(text), table_(table), resultText_(resultText), nextFreeIndex_(nextFreeIndex) {
  open_.reserve(7);
}

std::int32_t TreeBuilder::Build() {
  NodeScanner scanner(text_);
  std::int32_t position = 0;
  for (;;) {
    const XmlNode node = scanner.Next(position);
    switch (node.kind) {
      case NodeKind::kStartTag:
        StartTag(node);
        break;
      case NodeKind::kEndTag:
        EndTag(node);
        break;
      case NodeKind::kMalformed:
        Malformed(scanner);
        break;
      case NodeKind::kEndOfText:
        CloseUnended(0, static_cast<std::int32_t>(text_.size()));
        return firstElement_;
      default:
        break;
    }
    position = node.start + node.length;
  }
}

void TreeBuilder::Push(const OpenElement& open) {
  open_.push_back(open);
  if (countNames_) ++openNameCounts_[Name(open)];
}

void TreeBuilder::Pop() {
  if (countNames_) {
    const auto found = openNameCounts_.find(Name(open_.back()));
    if (found != openNameCounts_.end() && --found->second == 0) openNameCounts_.erase(found);
  }
  open_.pop_back();
}

void TreeBuilder::MarkIllFormed(std::int32_t element) {
  table_[0].flagsAndLevel |= kDocumentIllFormed;
  table_[element].flagsAndLevel |= kIllFormedContent;
}

void TreeBuilder::NoteTagTooLong(std::int32_t element, std::wstring_view name) {
  MarkIllFormed(element);
  AddResult(resultText_, L"tag_too_long", name, kResultTagName | kResultOffset,
            table_[element].start);
}

void TreeBuilder::StartTag(const XmlNode& node) {
  if (nextFreeIndex_ >= table_.Capacity()) table_.Grow();
  const std::int32_t index = nextFreeIndex_++;
  ElementRecord& record = table_[index];
  record.start = node.start;
  record.length = node.length;
  record.tagLengths = PackTagLengths(static_cast<std::uint32_t>(node.length), 0);
  const std::size_t level = open_.size();
  record.flagsAndLevel =
      static_cast<std::int32_t>(level > kLevelMask ? kLevelMask : static_cast<std::int32_t>(level));
  record.parent = current_;
  record.firstChild = 0;
  record.nextSibling = 0;

  ElementRecord& parent = table_[current_];
  if (parent.firstChild == 0) {
    parent.firstChild = index;
    record.flagsAndLevel |= kFirstChild;
    record.previousSibling = index;
  } else {
    ElementRecord& first = table_[parent.firstChild];
    const std::int32_t last = first.previousSibling;
    table_[last].nextSibling = index;
    record.previousSibling = last;
    first.previousSibling = index;
  }
  if (firstElement_ == 0) firstElement_ = index;

  const std::wstring_view name = text_.substr(static_cast<std::size_t>(node.nameStart),
                                              static_cast<std::size_t>(node.nameLength));
  if (static_cast<std::uint32_t>(node.length) > kStartTagLengthMax) NoteTagTooLong(index, name);
  if (!node.emptyElement) {
    Push({index, node.nameStart, node.nameLength});
    current_ = index;
  }
}

std::ptrdiff_t TreeBuilder::FindOpen(std::wstring_view name) {
  if (countNames_ && openNameCounts_.find(name) == openNameCounts_.end()) return -1;
  for (std::ptrdiff_t i = static_cast<std::ptrdiff_t>(open_.size()) - 1; i >= 0; --i) {
    const OpenElement& open = open_[static_cast<std::size_t>(i)];
    if (open.nameLength == static_cast<std::int32_t>(name.size()) &&
        std::wmemcmp(text_.data() + open.nameStart, name.data(), name.size()) == 0) {
      return i;
    }
  }
  failedSearchWork_ += static_cast<std::int64_t>(open_.size()) + 1;
  if (!countNames_ && failedSearchWork_ > kFailedSearchBudget) {
    countNames_ = true;
    for (const OpenElement& open : open_) ++openNameCounts_[Name(open)];
  }
  return -1;
}

void TreeBuilder::EndTag(const XmlNode& node) {
  const std::wstring_view name = text_.substr(static_cast<std::size_t>(node.nameStart),
                                              static_cast<std::size_t>(node.nameLength));
  const std::ptrdiff_t match = FindOpen(name);
  if (match < 0) {
    MarkIllFormed(current_);
    AddResult(resultText_, L"lone_end_tag", name, kResultTagName | kResultOffset, node.start);
    return;
  }
  CloseUnended(static_cast<std::size_t>(match) + 1, node.start + 1);

  const std::int32_t index = open_.back().element;
  ElementRecord& record = table_[index];
  record.length = node.start + node.length - record.start;
  record.tagLengths = PackTagLengths(static_cast<std::uint32_t>(StartTagLength(record)),
                                     static_cast<std::uint32_t>(node.length) > kEndTagLengthMax
                                         ? kEndTagLengthMax
                                         : static_cast<std::uint32_t>(node.length));
  if (static_cast<std::uint32_t>(node.length) > kEndTagLengthMax) NoteTagTooLong(index, name);
  Pop();
  current_ = record.parent;
}

void TreeBuilder::Malformed(NodeScanner& scanner) {
  MarkIllFormed(current_);
  scanner.MovePendingRecords(resultText_);
}

void TreeBuilder::CloseUnended(std::size_t keep, std::int32_t offset2) {
  if (open_.size() <= keep) return;
  const std::int32_t newParent = keep > 0 ? open_[keep - 1].element : 0;

  // Flags and records, innermost first. IllFormedContent travels outward one parent at a time,
  // so in the end it lands on the element that stays open.
  bool illFormedContent = false;
  for (std::size_t i = open_.size(); i-- > keep;) {
    ElementRecord& record = table_[open_[i].element];
    const std::int32_t startTagLength = StartTagLength(record);
    record.flagsAndLevel |= kUnended;
    if (record.flagsAndLevel & kIllFormedContent) {
      illFormedContent = true;
      record.flagsAndLevel &= ~kIllFormedContent;
    }
    record.tagLengths = PackTagLengths(static_cast<std::uint32_t>(startTagLength), 0);
    record.length = startTagLength;
    table_[0].flagsAndLevel |= kDocumentIllFormed;
    AddResult(resultText_, L"unended_start_tag", Name(open_[i]), kResultTagName | kResultOffset,
              record.start, offset2);
  }
  if (illFormedContent) table_[newParent].flagsAndLevel |= kIllFormedContent;

  // Moving each closed element's children up behind it, innermost first, flattens the closed
  // chain under newParent in document order: each closed element followed by its own children.
  // Done outermost first in one pass, every moved element is touched once.
  std::int32_t lastInChain = open_.back().element;
  for (std::size_t i = keep; i < open_.size(); ++i) {
    const std::int32_t element = open_[i].element;
    ElementRecord& record = table_[element];
    const std::int32_t firstChild = record.firstChild;
    if (firstChild == 0) continue;  // only the innermost can be childless
    ElementRecord& first = table_[firstChild];
    if (i + 1 == open_.size()) lastInChain = first.previousSibling;
    first.flagsAndLevel &= ~kFirstChild;
    first.previousSibling = element;
    record.nextSibling = firstChild;
    record.firstChild = 0;
    for (std::int32_t child = firstChild; child != 0; child = table_[child].nextSibling) {
      table_[child].parent = newParent;
    }
  }
  table_[table_[newParent].firstChild].previousSibling = lastInChain;

  while (open_.size() > keep) Pop();
  current_ = newParent;
}

}  // namespace xml
