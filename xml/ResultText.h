// The result text: a short log of what happened while a document was read and parsed, kept as a
// run of empty XML elements ("<read encoding="UTF-8" length="12"/>"). It is capped so that a badly
// broken document cannot make it grow without bound.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace xml {

// Which attributes a record carries. At most one text attribute and one number attribute; a
// second number, when not -1, is written as "offset2".
enum ResultAttribute : unsigned {
  kResultType = 0x1,
  kResultEncoding = 0x2,
  kResultMsg = 0x4,
  kResultTagName = 0x8,
  kResultN = 0x10,
  kResultCount = 0x20,
  kResultLength = 0x40,
  kResultOffset = 0x80,
  // Set the attributes on the first record of that name instead of appending a new one.
  kResultModify = 0x1000,
};

// Records are only appended while the result text is shorter than this.
inline constexpr std::size_t kResultTextCap = 1000;
// Text values are cut to this many characters (before escaping), so that one record about a
// huge tag name cannot carry the whole name.
inline constexpr std::size_t kResultValueCap = 256;

// Appends (or, with kResultModify, updates) one record. A number of -1 means "no such attribute"
// unless the flags ask for "n", "count" or "length", which are always written.
void AddResult(std::wstring& resultText, std::wstring_view recordName, std::wstring_view text,
               unsigned attributes, std::int64_t number = -1, std::int64_t number2 = -1);

// The value with "<", "&", ">", "'" and the double quote replaced by their references.
void AppendEscaped(std::wstring& target, std::wstring_view value);

}  // namespace xml
