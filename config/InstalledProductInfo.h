// What Windows Installer reports about an installed copy of the product.
#pragma once

#include <string>

struct InstalledProductInfo {
  std::wstring version;  // empty when the product is not installed
};
