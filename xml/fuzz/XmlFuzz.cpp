// libFuzzer target for the document reader. The first byte picks the path:
//   0: the rest as text, one byte per code unit (dense markup, quickest to explore the scanner)
//   1: the rest as little-endian UTF-16 code units (surrogates, characters above U+007B)
//   2: the rest as a document file read through Load (marks, declarations, NULs, conversion)
// Every parse is then walked completely and checked against the element table's invariants.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "xml/DocumentFileReader.h"
#include "xml/XmlDocument.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

// Every element reachable once from the document record, links and ranges consistent.
void CheckTree(const CXmlDocument& doc) {
  const std::int32_t count = doc.GetElementCount();
  const auto textSize = static_cast<std::int64_t>(doc.GetText().size());
  std::vector<bool> seen(static_cast<std::size_t>(count), false);
  std::vector<std::int32_t> pending{0};
  std::int32_t visited = 0;
  while (!pending.empty()) {
    const std::int32_t parent = pending.back();
    pending.pop_back();
    const xml::ElementRecord* record = doc.GetElement(parent);
    Check(record != nullptr, "element index in range");
    std::int32_t last = 0;
    for (std::int32_t child = record->firstChild; child != 0;) {
      const xml::ElementRecord* c = doc.GetElement(child);
      Check(c != nullptr, "child index in range");
      Check(!seen[static_cast<std::size_t>(child)], "element reached once");
      seen[static_cast<std::size_t>(child)] = true;
      ++visited;
      Check(c->parent == parent, "parent link");
      Check(c->start >= 0 && c->length > 0 &&
                c->start + static_cast<std::int64_t>(c->length) <= textSize,
            "element inside the text");
      Check(((c->flagsAndLevel & xml::kFirstChild) != 0) == (child == record->firstChild),
            "first-child mark");
      Check(xml::StartTagLength(*c) <= c->length, "start tag inside element");
      pending.push_back(child);
      last = child;
      child = c->nextSibling;
    }
    if (record->firstChild != 0) {
      Check(doc.GetElement(record->firstChild)->previousSibling == last, "last-child link");
    }
  }
  Check(visited == count - 1, "every element in the tree");
}

// The readers' access pattern over the whole document.
void Walk(CXmlDocument& doc, int depth) {
  while (doc.FindChildElement()) {
    if (!doc.EnterElement()) return;
    (void)doc.GetElementText(doc.GetMainPosition());
    if (depth < 64) Walk(doc, depth + 1);
    if (!doc.LeaveElement()) return;
  }
}

void Exercise(CXmlDocument& doc) {
  CheckTree(doc);
  for (std::int32_t i = 0; i <= doc.GetElementCount(); ++i) {
    const std::wstring text = doc.GetElementText(i);
    Check(text.size() <= doc.GetText().size() + 1, "element text no longer than the document");
    (void)doc.GetElementName(i);
  }
  Walk(doc, 0);
  (void)doc.FindElement(L"a");
  (void)doc.FindChildElement(L"b");
  (void)xml::FindDeclaredEncoding(doc.GetText());
  Check(doc.GetResultText().size() < 1000 + 8 * 256 + 200, "result text capped");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t mode = data[0] % 3;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  static CXmlDocument* doc = new CXmlDocument;  // reused across inputs
  // A fresh document for some inputs: a reused one must parse exactly like it. (Not for all:
  // each document's first table page is a large allocation, slow under AddressSanitizer.)
  static CXmlDocument* fresh = new CXmlDocument;
  const bool compare = size % 8 == 0;
  if (compare) {
    delete fresh;
    fresh = new CXmlDocument;
  }

  if (mode == 0) {
    std::wstring text(rest.begin(), rest.end());
    for (wchar_t& c : text) c = static_cast<wchar_t>(static_cast<unsigned char>(c));
    doc->SetText(text);
    if (compare) fresh->SetText(text);
  } else if (mode == 1) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < rest.size(); i += 2) {
      text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(rest[i]) |
                                          (static_cast<unsigned char>(rest[i + 1]) << 8)));
    }
    doc->SetText(text);
    if (compare) fresh->SetText(text);
  } else {
    static const std::string path = "/tmp/kest-xml-fuzz-" + std::to_string(getpid()) + ".xml";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(rest.data(), 1, rest.size(), file);
    std::fclose(file);
    const std::wstring widePath(path.begin(), path.end());
    doc->Load(widePath);
    if (compare) fresh->Load(widePath);
    Check(doc->GetText().find(L'\0') == std::wstring::npos, "no NUL reaches the parser");
  }
  if (compare) {
    Check(doc->GetText() == fresh->GetText() && doc->GetResultText() == fresh->GetResultText() &&
              doc->IsWellFormed() == fresh->IsWellFormed() &&
              doc->GetElementCount() == fresh->GetElementCount() &&
              (mode != 2 || doc->GetDocumentFlags() == fresh->GetDocumentFlags()),
          "a reused document parses like a fresh one");
  }
  Exercise(*doc);
  if (data[0] == 255) {
    // A failed load after this document must leave nothing of it behind.
    doc->Load(L"/nonexistent-kest-fuzz/missing.xml");
    Check(doc->GetElementCount() == 1 && doc->GetText().empty(), "failed load clears");
    Exercise(*doc);
  }
  return 0;
}
