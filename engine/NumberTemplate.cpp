#include "engine/NumberTemplate.h"

#include <vector>

std::wstring FormatNumbers(std::wstring_view text, std::initializer_list<long long> numbers) {
  const std::vector<long long> values(numbers);
  size_t next = 0;
  std::wstring out;
  out.reserve(text.size() + 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'%') {
      out.push_back(text[i]);
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == L'%') {
      out.push_back(L'%');
      ++i;
      continue;
    }
    size_t j = i + 1;
    const bool zeroPad = j < text.size() && text[j] == L'0';
    if (zeroPad) ++j;
    size_t width = 0;
    while (j < text.size() && text[j] >= L'0' && text[j] <= L'9' && width < 100)
      width = width * 10 + static_cast<size_t>(text[j++] - L'0');
    if (j >= text.size() || text[j] != L'd' || width >= 100) {
      out.push_back(L'%');  // not a number conversion: keep it as text
      continue;
    }
    const long long value = next < values.size() ? values[next] : 0;
    ++next;
    const unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                   : static_cast<unsigned long long>(value);
    std::wstring digits = std::to_wstring(magnitude);
    const size_t signWidth = value < 0 ? 1 : 0;
    if (digits.size() + signWidth < width) {
      const std::wstring fill(width - digits.size() - signWidth, zeroPad ? L'0' : L' ');
      digits = zeroPad ? (value < 0 ? L"-" : L"") + fill + digits
                       : fill + (value < 0 ? L"-" : L"") + digits;
    } else if (value < 0) {
      digits.insert(digits.begin(), L'-');
    }
    out += digits;
    i = j;
  }
  return out;
}

std::wstring ReplaceText(std::wstring_view text, std::wstring_view value) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'%' && i + 1 < text.size() && text[i + 1] == L's') {
      out += value;
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}
