// Reads the install manifest into the model. Every lookup continues after the element where
// the previous lookup at the same level stopped, so elements are asked for in the order of
// the manifest format; elements of other names are passed over.
#include "config/InstallConfig.h"

#include <cwctype>

#include "config/DecimalText.h"
#include "xml/XmlDocument.h"

namespace {

bool IsTrueText(std::wstring_view text) {
  constexpr std::wstring_view kTrue = L"true";
  if (text.size() != kTrue.size()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (std::towlower(text[i]) != static_cast<wint_t>(kTrue[i])) return false;
  return true;
}

class ManifestWalker {
 public:
  explicit ManifestWalker(CXmlDocument& document) : doc_(document) {}

  // A child of the main element: find, enter, take its text, leave.
  bool ReadChild(const wchar_t* name, std::wstring& value) {
    if (!doc_.FindChildElement(name)) return false;
    doc_.EnterElement();
    value = MainText();
    doc_.LeaveElement();
    return true;
  }

  // A later element of the current level, which becomes the main element.
  bool ReadNext(const wchar_t* name, std::wstring& value) {
    if (!doc_.FindElement(name)) return false;
    value = MainText();
    return true;
  }

  std::wstring MainText() { return doc_.GetElementText(doc_.GetMainPosition()); }

  void ReadMainComponent(ProductManifest& model) {
    if (!doc_.FindElement(L"main_component") || !doc_.FindChildElement(L"name")) return;
    doc_.EnterElement();
    model.packageName = MainText();
    ReadNext(L"executable", model.executable);
    ReadNext(L"full_url", model.packageAddress);
    while (doc_.FindElement(L"transform")) {
      TransformInfo transform;
      if (!doc_.FindChildElement(L"lang_id")) continue;  // dropped
      doc_.EnterElement();
      transform.languageId = ParseDecimalInt32(MainText());
      ReadNext(L"name", transform.name);
      ReadNext(L"full_url", transform.address);
      doc_.LeaveElement();
      model.transforms.push_back(std::move(transform));
    }
    doc_.LeaveElement();
  }

  void ReadLanguagePacks(ProductManifest& model) {
    while (doc_.FindElement(L"language_pack")) {
      LanguagePackInfo pack;
      if (!doc_.FindChildElement(L"lang_id")) continue;  // dropped
      doc_.EnterElement();
      pack.languageId = ParseDecimalInt32(MainText());
      ReadNext(L"pid", pack.productId);
      ReadNext(L"name", pack.name);
      ReadNext(L"full_url", pack.address);
      doc_.LeaveElement();
      model.languagePacks.push_back(std::move(pack));
    }
  }

  void ReadDependencies(ProductManifest& model) {
    while (doc_.FindElement(L"dependency")) {
      DependencyInfo dependency;
      if (!doc_.FindChildElement(L"name")) continue;  // dropped
      doc_.EnterElement();
      dependency.name = MainText();
      ReadNext(L"full_url", dependency.address);
      ReadNext(L"install_commandline", dependency.commandLine);
      doc_.LeaveElement();
      model.prerequisites.push_back(std::move(dependency));
    }
  }

 private:
  CXmlDocument& doc_;
};

}  // namespace

bool InstallConfig::ParseManifest(ProductManifest& model) const {
  CXmlDocument document;
  if (!document.Load(manifestPath)) return false;
  if (!document.FindElement(L"qorwebinstaller")) return true;

  ManifestWalker walker(document);
  walker.ReadChild(L"web_installer_version", model.installerVersion);
  walker.ReadChild(L"product_code", model.productCode);
  if (!document.FindChildElement(L"product")) return true;
  document.EnterElement();

  walker.ReadChild(L"pid", model.productId);
  walker.ReadChild(L"full_name", model.fullName);
  walker.ReadChild(L"short_name", model.shortName);
  walker.ReadChild(L"registry", model.registryKey);
  std::wstring standalone;
  if (walker.ReadChild(L"standalone", standalone))
    model.standalone = IsTrueText(standalone) ? 1 : 0;
  walker.ReadChild(L"standalone_version", model.standaloneVersion);
  walker.ReadChild(L"version_check_url", model.versionDocumentAddress);

  // The last product child read becomes the main element; the rest follows it.
  document.EnterElement();
  walker.ReadMainComponent(model);
  walker.ReadLanguagePacks(model);
  walker.ReadDependencies(model);
  return true;
}
