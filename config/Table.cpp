#include "config/Table.h"

#include <utility>

Table::Table() : items_(std::make_unique<std::wstring[]>(kInitialLastIndex + 1)) {}

void Table::Append(std::wstring_view text) {
  std::wstring copy(text);
  if (count_ == lastIndex_ + 1) {
    auto grown = std::make_unique<std::wstring[]>(lastIndex_ + kGrowthStep + 1);
    for (int i = 0; i < count_; ++i) grown[i] = std::move(items_[i]);
    items_ = std::move(grown);
    lastIndex_ += kGrowthStep;
  }
  items_[count_++] = std::move(copy);
}
