#include "xml/ResultText.h"

#include <utility>
#include <vector>

namespace xml {

namespace {

std::wstring_view TextAttributeName(unsigned attributes) {
  if (attributes & kResultType) return L"type";
  if (attributes & kResultEncoding) return L"encoding";
  if (attributes & kResultMsg) return L"msg";
  if (attributes & kResultTagName) return L"tagname";
  return {};
}

// The number attribute and whether it is written even when the number is -1.
std::pair<std::wstring_view, bool> NumberAttributeName(unsigned attributes) {
  if (attributes & kResultN) return {L"n", true};
  if (attributes & kResultCount) return {L"count", true};
  if (attributes & kResultLength) return {L"length", true};
  if (attributes & kResultOffset) return {L"offset", false};
  return {{}, false};
}

std::wstring Decimal(std::int64_t value) {
  const std::string narrow = std::to_string(value);
  return std::wstring(narrow.begin(), narrow.end());
}

struct Attribute {
  std::wstring_view name;
  std::wstring value;  // already escaped
};

std::vector<Attribute> CollectAttributes(std::wstring_view text, unsigned attributes,
                                         std::int64_t number, std::int64_t number2) {
  std::vector<Attribute> list;
  if (const std::wstring_view name = TextAttributeName(attributes); !name.empty()) {
    std::wstring escaped;
    AppendEscaped(escaped, text.substr(0, kResultValueCap));
    list.push_back({name, std::move(escaped)});
  }
  if (const auto [name, always] = NumberAttributeName(attributes); !name.empty()) {
    if (always || number != -1) list.push_back({name, Decimal(number)});
  }
  if (number2 != -1) list.push_back({L"offset2", Decimal(number2)});
  return list;
}

// Offset of the first record named recordName, or npos.
std::size_t FindRecord(const std::wstring& resultText, std::wstring_view recordName) {
  std::size_t at = 0;
  while ((at = resultText.find(L'<', at)) != std::wstring::npos) {
    const std::size_t nameEnd = at + 1 + recordName.size();
    if (resultText.compare(at + 1, recordName.size(), recordName) == 0 &&
        nameEnd < resultText.size() &&
        (resultText[nameEnd] == L' ' || resultText[nameEnd] == L'/')) {
      return at;
    }
    ++at;
  }
  return std::wstring::npos;
}

void ModifyRecord(std::wstring& resultText, std::size_t recordStart,
                  const std::vector<Attribute>& list) {
  for (const Attribute& attribute : list) {
    std::size_t recordEnd = resultText.find(L"/>", recordStart);
    if (recordEnd == std::wstring::npos) return;
    std::wstring pattern = L" ";
    pattern.append(attribute.name);
    pattern.append(L"=\"");
    const std::size_t found = resultText.find(pattern, recordStart);
    if (found != std::wstring::npos && found < recordEnd) {
      const std::size_t valueStart = found + pattern.size();
      const std::size_t valueEnd = resultText.find(L'"', valueStart);
      if (valueEnd == std::wstring::npos) return;
      resultText.replace(valueStart, valueEnd - valueStart, attribute.value);
    } else {
      std::wstring inserted = pattern;
      inserted.append(attribute.value);
      inserted.push_back(L'"');
      resultText.insert(recordEnd, inserted);
    }
  }
}

}  // namespace

void AppendEscaped(std::wstring& target, std::wstring_view value) {
  for (const wchar_t c : value) {
    switch (c) {
      case L'<':
        target.append(L"&lt;");
        break;
      case L'&':
        target.append(L"&amp;");
        break;
      case L'>':
        target.append(L"&gt;");
        break;
      case L'\'':
        target.append(L"&apos;");
        break;
      case L'"':
        target.append(L"&quot;");
        break;
      default:
        target.push_back(c);
        break;
    }
  }
}

void AddResult(std::wstring& resultText, std::wstring_view recordName, std::wstring_view text,
               unsigned attributes, std::int64_t number, std::int64_t number2) {
  // Broken documents ask for records by the million once the cap is reached.
  if (!(attributes & kResultModify) && resultText.size() >= kResultTextCap) return;
  const std::vector<Attribute> list = CollectAttributes(text, attributes, number, number2);
  if (attributes & kResultModify) {
    const std::size_t existing = FindRecord(resultText, recordName);
    if (existing != std::wstring::npos) {
      ModifyRecord(resultText, existing, list);
      return;
    }
  }
  if (resultText.size() >= kResultTextCap) return;
  resultText.push_back(L'<');
  resultText.append(recordName);
  for (const Attribute& attribute : list) {
    resultText.push_back(L' ');
    resultText.append(attribute.name);
    resultText.append(L"=\"");
    resultText.append(attribute.value);
    resultText.push_back(L'"');
  }
  resultText.append(L"/>");
}

}  // namespace xml
