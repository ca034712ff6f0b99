// Parse speed of CXmlDocument against libexpat on the same documents: a 100 KB manifest-like
// document and a 10 MB document of many small elements. Throughput is given in megabytes of
// the UTF-8 document per second for every case, so the figures compare directly.
//
//   SetText: UTF-16 text in memory -> element table (copying the text in, as callers do)
//   Parse:   the same without the copy (the text is moved in)
//   Load:    UTF-8 file -> detection, conversion to UTF-16, parse
//   Expat:   UTF-8 bytes in memory -> expat with start/end handlers that count elements
#include <benchmark/benchmark.h>
#include <expat.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "xml/PlatformText.h"
#include "xml/XmlDocument.h"

namespace {

std::string ManifestDocument(std::size_t targetBytes) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<qorwebinstaller>\n"
      "  <version>2.4.1.1077</version>\n  <homepage>https://www.example.com/kest</homepage>\n";
  for (int i = 0; text.size() < targetBytes; ++i) {
    const std::string n = std::to_string(i);
    text += "  <dependency id=\"dep" + n +
            "\" required=\"true\">\n"
            "    <name>Runtime component " +
            n +
            " &amp; helpers</name>\n"
            "    <url>https://download.example.com/kest/2.4/component" +
            n +
            ".exe</url>\n"
            "    <size>" +
            std::to_string(1048576 + i * 4099) +
            "</size>\n"
            "    <arguments>/quiet /norestart</arguments>\n"
            "    <!-- checked with the installed version -->\n"
            "    <language id=\"" +
            std::to_string(1031 + i % 40) +
            "\">Deutsch</language>\n"
            "  </dependency>\n";
  }
  text += "</qorwebinstaller>\n";
  return text;
}

std::string SmallElementsDocument(std::size_t targetBytes) {
  std::string text = "<items>\n";
  for (int i = 0; text.size() < targetBytes; ++i) {
    text += "<i n=\"" + std::to_string(i) + "\">v" + std::to_string(i % 1000) + "</i>\n";
  }
  text += "</items>\n";
  return text;
}

struct Document {
  std::string utf8;
  std::wstring utf16;
  std::filesystem::path file;
};

Document Make(const std::string& utf8, const char* fileName) {
  Document doc{utf8, {}, std::filesystem::temp_directory_path() / fileName};
  const auto length = static_cast<std::int32_t>(utf8.size());
  const std::int32_t count = xml::ConvertCodePageToUtf16(65001, utf8.data(), length, nullptr, 0);
  doc.utf16.resize(static_cast<std::size_t>(count));
  xml::ConvertCodePageToUtf16(65001, utf8.data(), length, doc.utf16.data(), count);
  if (std::FILE* f = std::fopen(doc.file.c_str(), "wb")) {
    std::fwrite(utf8.data(), 1, utf8.size(), f);
    std::fclose(f);
  }
  return doc;
}

const Document& Manifest() {
  static const Document doc = Make(ManifestDocument(100 * 1024), "kest-bench-manifest.xml");
  return doc;
}

const Document& SmallElements() {
  static const Document doc = Make(SmallElementsDocument(10 * 1024 * 1024), "kest-bench-small.xml");
  return doc;
}

void Finish(benchmark::State& state, const Document& doc) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(doc.utf8.size()));
}

void SetText(benchmark::State& state, const Document& doc) {
  CXmlDocument xml;
  for (auto _ : state) {
    if (!xml.SetText(std::wstring_view(doc.utf16))) state.SkipWithError("not well-formed");
    benchmark::DoNotOptimize(xml.GetElementCount());
  }
  state.counters["elements"] = xml.GetElementCount() - 1;
  Finish(state, doc);
}

void Parse(benchmark::State& state, const Document& doc) {
  CXmlDocument xml;
  for (auto _ : state) {
    state.PauseTiming();
    std::wstring copy = doc.utf16;
    state.ResumeTiming();
    if (!xml.SetText(std::move(copy))) state.SkipWithError("not well-formed");
    benchmark::DoNotOptimize(xml.GetElementCount());
  }
  Finish(state, doc);
}

void Load(benchmark::State& state, const Document& doc) {
  CXmlDocument xml;
  for (auto _ : state) {
    if (!xml.Load(doc.file.wstring())) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(xml.GetElementCount());
  }
  Finish(state, doc);
}

void XMLCALL CountStart(void* data, const XML_Char*, const XML_Char**) {
  ++*static_cast<long*>(data);
}
void XMLCALL CountEnd(void*, const XML_Char*) {}

void Expat(benchmark::State& state, const Document& doc) {
  long elements = 0;
  for (auto _ : state) {
    elements = 0;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &elements);
    XML_SetElementHandler(parser, CountStart, CountEnd);
    if (XML_Parse(parser, doc.utf8.data(), static_cast<int>(doc.utf8.size()), 1) != XML_STATUS_OK) {
      state.SkipWithError("expat error");
    }
    XML_ParserFree(parser);
    benchmark::DoNotOptimize(elements);
  }
  state.counters["elements"] = static_cast<double>(elements);
  Finish(state, doc);
}

BENCHMARK_CAPTURE(SetText, Manifest100K, Manifest());
BENCHMARK_CAPTURE(Parse, Manifest100K, Manifest());
BENCHMARK_CAPTURE(Load, Manifest100K, Manifest());
BENCHMARK_CAPTURE(Expat, Manifest100K, Manifest());
BENCHMARK_CAPTURE(SetText, SmallElements10M, SmallElements())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Parse, SmallElements10M, SmallElements())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Load, SmallElements10M, SmallElements())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Expat, SmallElements10M, SmallElements())->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
