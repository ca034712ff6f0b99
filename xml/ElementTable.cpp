#include "xml/ElementTable.h"

namespace xml {

void ElementTable::Reserve(std::int64_t records) {
  if (records <= capacity_) return;
  capacity_ = records;
  const std::int64_t pagesNeeded = (records + kPageSize - 1) / kPageSize;
  while (static_cast<std::int64_t>(pages_.size()) < pagesNeeded) {
    // Left uninitialised: a parse writes every record before reading it, and untouched parts of
    // a page then cost no physical memory.
    pages_.emplace_back(new ElementRecord[kPageSize]);
  }
}

void ElementTable::Grow() {
  Reserve(capacity_ + (capacity_ / 2 > 0 ? capacity_ / 2 : 1));
}

}  // namespace xml
