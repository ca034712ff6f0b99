#include "engine/InstallerProgress.h"

#include <algorithm>
#include <climits>

namespace {

// A decimal value ending at a space or the end; values beyond int saturate.
bool ReadValue(std::wstring_view text, size_t& pos, int& value) {
  bool negative = false;
  if (pos < text.size() && text[pos] == L'-') {
    negative = true;
    ++pos;
  }
  const size_t start = pos;
  long long magnitude = 0;
  while (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9') {
    magnitude = std::min<long long>(magnitude * 10 + (text[pos] - L'0'), 1LL << 40);
    ++pos;
  }
  if (pos == start) return false;
  if (pos < text.size() && text[pos] != L' ') return false;
  const long long signedValue = negative ? -magnitude : magnitude;
  value = static_cast<int>(std::clamp<long long>(signedValue, INT_MIN, INT_MAX));
  return true;
}

}  // namespace

std::optional<ProgressMessage> ParseProgressMessage(std::wstring_view text) {
  ProgressMessage message;
  int* fields[] = {&message.type, &message.field2, &message.field3, &message.field4};
  size_t pos = 0;
  for (int field = 1; field <= 4; ++field) {
    if (pos >= text.size()) break;  // the text ended: act on what was read
    if (text[pos] != static_cast<wchar_t>(L'0' + field) || text.substr(pos + 1, 2) != L": ")
      return std::nullopt;
    pos += 3;
    if (field == 1) {
      if (pos >= text.size() || text[pos] < L'0' || text[pos] > L'9') return std::nullopt;
      message.type = text[pos++] - L'0';
      if (pos < text.size() && text[pos] != L' ') return std::nullopt;
    } else if (!ReadValue(text, pos, *fields[field - 1])) {
      return std::nullopt;
    }
    if (field == 2 && (message.type == 2 || message.type == 3)) break;
    if (field == 3 && message.type == 1) break;
    if (pos < text.size()) ++pos;  // the space between fields
  }
  return message;
}

void InstallerProgress::StartPackage() noexcept {
  base_ = 0;
  total_ = 0;
  forward_ = true;
  position_ = 0;
}

std::optional<int> InstallerProgress::Apply(const ProgressMessage& message) noexcept {
  switch (message.type) {
    case 0:
      total_ = message.field2;
      forward_ = message.field3 == 0;
      position_ = forward_ ? 0 : message.field2;
      base_ = reported_;
      return std::nullopt;
    case 1:
      if (message.field3 != 0) return Advance(message.field2);
      return std::nullopt;
    case 2:
      return Advance(message.field2);
    default:
      return std::nullopt;
  }
}

std::optional<int> InstallerProgress::Advance(long long ticks) noexcept {
  position_ += forward_ ? ticks : -ticks;
  if (total_ == 0) return std::nullopt;
  const float share =
      static_cast<float>(position_) / static_cast<float>(total_) * static_cast<float>(100 - base_);
  // Installer tick counts overshoot their announced total at times; an item's percentage stays
  // within 0..100 so that it never spills into the next item's share of the bar.
  const float clamped = std::clamp(share, -100.0f, 100.0f);
  const int pct = std::clamp(base_ + static_cast<int>(clamped), 0, 100);
  reported_ = std::max(reported_, pct);
  return reported_;
}
