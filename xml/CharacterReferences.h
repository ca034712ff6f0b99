// Character and entity references in element text: "&amp;", "&#65;", "&#x1F600;" and the
// character entities of HTML 4.01 plus "apos".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace xml {

// Appends text with its references decoded, left to right. A reference that cannot be decoded
// stays as written.
void AppendDecodedText(std::wstring& target, std::wstring_view text);

// The code point of an entity name, or 0 when there is no such entity. A name in its standard
// letter case ("Eacute", "eacute") gives its own character; any other capitalisation gives the
// first entry, in table order, whose name matches when case is ignored.
std::uint32_t LookupEntity(std::wstring_view name);

// Entries in the entity table (253) and their names in table order.
std::size_t EntityCount();
std::wstring_view EntityNameAt(std::size_t index);

}  // namespace xml
