// make_transform BASE.msi CHANGED.msi OUT.mst
// Writes the Windows Installer transform that turns BASE into CHANGED, without validation
// conditions. Where the platform cannot generate transforms (Wine answers "not implemented"),
// the differences of the Property table are written by our own transform writer instead.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <cwchar>
#include <map>
#include <string>

#include "tools/transform/PropertyTransform.h"
#include "ui/framework/UniqueHandle.h"

namespace {

std::map<std::wstring, std::wstring> ReadProperties(MSIHANDLE database) {
  std::map<std::wstring, std::wstring> properties;
  fw::UniqueMsi view;
  if (::MsiDatabaseOpenViewW(database, L"SELECT `Property`, `Value` FROM `Property`", view.Put()) !=
          ERROR_SUCCESS ||
      ::MsiViewExecute(view.Get(), 0) != ERROR_SUCCESS)
    return properties;
  fw::UniqueMsi record;
  while (::MsiViewFetch(view.Get(), record.Put()) == ERROR_SUCCESS) {
    std::wstring fields[2];
    for (unsigned i = 0; i < 2; ++i) {
      DWORD size = 0;
      wchar_t empty[1] = L"";
      ::MsiRecordGetStringW(record.Get(), i + 1, empty, &size);
      fields[i].resize(size + 1);
      size = static_cast<DWORD>(fields[i].size());
      ::MsiRecordGetStringW(record.Get(), i + 1, fields[i].data(), &size);
      fields[i].resize(size);
    }
    properties[fields[0]] = fields[1];
  }
  return properties;
}

bool WriteFallback(MSIHANDLE base, MSIHANDLE changed, const wchar_t* out) {
  const auto before = ReadProperties(base);
  const auto after = ReadProperties(changed);
  std::map<std::wstring, PropertyChange> changes;
  for (const auto& [name, value] : after) {
    const auto found = before.find(name);
    if (found == before.end())
      changes[name] = {value, false};
    else if (found->second != value)
      changes[name] = {value, true};
  }
  return WritePropertyTransform(out, changes);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fwprintf(stderr, L"usage: make_transform BASE.msi CHANGED.msi OUT.mst\n");
    return 2;
  }
  fw::UniqueMsi base, changed;
  if (::MsiOpenDatabaseW(argv[1], MSIDBOPEN_READONLY, base.Put()) != ERROR_SUCCESS ||
      ::MsiOpenDatabaseW(argv[2], MSIDBOPEN_READONLY, changed.Put()) != ERROR_SUCCESS) {
    std::fwprintf(stderr, L"make_transform: cannot open the packages\n");
    return 1;
  }
  UINT result = ::MsiDatabaseGenerateTransformW(changed.Get(), base.Get(), argv[3], 0, 0);
  if (result == ERROR_SUCCESS)
    result = ::MsiCreateTransformSummaryInfoW(changed.Get(), base.Get(), argv[3], 0, 0);
  else if (result == ERROR_CALL_NOT_IMPLEMENTED)
    result = WriteFallback(base.Get(), changed.Get(), argv[3]) ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
  if (result != ERROR_SUCCESS) {
    std::fwprintf(stderr, L"make_transform: failed (%u)\n", result);
    return 1;
  }
  return 0;
}
