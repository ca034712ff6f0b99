// make_transform BASE.msi CHANGED.msi OUT.mst
// Writes the Windows Installer transform that turns BASE into CHANGED, with no validation
// conditions, so that it applies to BASE whatever the machine's language.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <cwchar>

#include "ui/framework/UniqueHandle.h"

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
  if (result != ERROR_SUCCESS) {
    std::fwprintf(stderr, L"make_transform: generating failed (%u)\n", result);
    return 1;
  }
  result = ::MsiCreateTransformSummaryInfoW(changed.Get(), base.Get(), argv[3], 0, 0);
  if (result != ERROR_SUCCESS) {
    std::fwprintf(stderr, L"make_transform: summary failed (%u)\n", result);
    return 1;
  }
  return 0;
}
