// The flat table of element records that one forward scan of a document builds. Records live in
// fixed pages of 65,536, so growing the table never moves a record that already has its index.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace xml {

struct ElementRecord {
  std::int32_t start;       // offset of the "<" of the start tag
  std::int32_t length;      // through the end tag; the start tag alone when empty or unended
  std::int32_t tagLengths;  // bits 0-21 start-tag length, bits 22-31 end-tag length
  std::int32_t flagsAndLevel;
  std::int32_t parent;
  std::int32_t firstChild;
  std::int32_t nextSibling;
  std::int32_t previousSibling;  // on a first child: the last child of the parent
};

inline constexpr std::int32_t kLevelMask = 0xFFFF;
inline constexpr std::int32_t kFirstChild = 0x80000;
inline constexpr std::int32_t kUnended = 0x100000;
inline constexpr std::int32_t kIllFormedContent = 0x200000;
inline constexpr std::int32_t kDocumentIllFormed = 0x800000;

inline constexpr std::uint32_t kStartTagLengthMax = (1u << 22) - 1;
inline constexpr std::uint32_t kEndTagLengthMax = (1u << 10) - 1;

inline std::int32_t StartTagLength(const ElementRecord& r) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(r.tagLengths) & kStartTagLengthMax);
}
inline std::int32_t EndTagLength(const ElementRecord& r) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(r.tagLengths) >> 22);
}
inline std::int32_t PackTagLengths(std::uint32_t startTag, std::uint32_t endTag) {
  return static_cast<std::int32_t>((startTag & kStartTagLengthMax) |
                                   ((endTag & kEndTagLengthMax) << 22));
}

class ElementTable {
 public:
  static constexpr int kPageShift = 16;
  static constexpr std::int32_t kPageSize = 1 << kPageShift;

  // Room for at least this many records; existing records stay where they are.
  void Reserve(std::int64_t records);
  // Grows the capacity by half (at least by one record).
  void Grow();

  std::int64_t Capacity() const { return capacity_; }

  ElementRecord& operator[](std::int32_t index) {
    return pages_[static_cast<std::uint32_t>(index) >> kPageShift]
                 [static_cast<std::uint32_t>(index) & (kPageSize - 1)];
  }
  const ElementRecord& operator[](std::int32_t index) const {
    return pages_[static_cast<std::uint32_t>(index) >> kPageShift]
                 [static_cast<std::uint32_t>(index) & (kPageSize - 1)];
  }

 private:
  std::vector<std::unique_ptr<ElementRecord[]>> pages_;
  std::int64_t capacity_ = 0;
};

}  // namespace xml
