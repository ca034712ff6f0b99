// Writes a Windows Installer transform that changes rows of the Property table, in the format
// Windows Installer reads: a compound file of the transform class holding a string pool, the
// changed table rows and a summary information stream.
//
// This exists because some Windows Installer implementations (Wine's among them) cannot
// generate transforms; where generation works, make_transform uses the platform's.
#pragma once

#include <map>
#include <string>

struct PropertyChange {
  std::wstring value;
  bool existsInBase = true;  // false: the row is added
};

// Property name -> new value. Strings are stored in code page 1252; false when a text does not
// fit in it, or the file cannot be written.
bool WritePropertyTransform(const std::wstring& path,
                            const std::map<std::wstring, PropertyChange>& changes);
