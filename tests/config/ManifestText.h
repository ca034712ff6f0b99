// Manifest texts the configuration tests build their cases from.
#pragma once

#include <string>

namespace kest::test {

inline constexpr char kManifestProductCode[] =
    "{5B8E2F14-3C6A-4E9D-8B17-A2C4D6E8F013}";  // never installed

// A manifest with the given product children (UTF-8).
inline std::string Manifest(const std::string& productChildren, const std::string& top = "") {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<qorwebinstaller>\n" + top +
         "<product_code>" + kManifestProductCode + "</product_code>\n<product>\n" +
         productChildren + "</product>\n</qorwebinstaller>\n";
}

inline const std::string kMainComponent =
    "<main_component><name>PictovaKest.msi</name>"
    "<full_url>http://127.0.0.1:8642/kest/PictovaKest.msi</full_url></main_component>\n";

// A manifest with every required value.
inline std::string GoodManifest(const std::string& pid = "PK280EN") {
  return Manifest("<pid>" + pid +
                  "</pid><short_name>Kest</short_name>"
                  "<registry>SOFTWARE\\KestTests\\Manifest</registry>\n" +
                  kMainComponent +
                  "<dependency><name>webview2.exe</name>"
                  "<full_url>http://127.0.0.1:8642/kest/webview2.exe</full_url></dependency>\n");
}

}  // namespace kest::test
