// A growable list of owned strings, used for registry subkey names. Capacity starts at 32 slots
// and grows by 64 slots whenever the list is full.
#pragma once

#include <memory>
#include <string>
#include <string_view>

class Table {
 public:
  static constexpr int kInitialLastIndex = 31;
  static constexpr int kGrowthStep = 64;

  Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;
  Table(Table&&) noexcept = default;
  Table& operator=(Table&&) noexcept = default;

  // Stores a copy of the text.
  void Append(std::wstring_view text);

  int Count() const noexcept { return count_; }
  int Capacity() const noexcept { return lastIndex_ + 1; }
  const std::wstring& operator[](int index) const { return items_[index]; }

 private:
  std::unique_ptr<std::wstring[]> items_;
  int count_ = 0;
  int lastIndex_ = kInitialLastIndex;
};
