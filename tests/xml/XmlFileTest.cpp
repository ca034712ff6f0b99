// Loading document files: byte-order marks, declared and detected encodings, NUL removal, byte
// swapping, file errors, and the result records of each step.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/TestPaths.h"
#include "tests/xml/XmlTestText.h"
#include "xml/PlatformText.h"
#include "xml/XmlDocument.h"

namespace {

using kest::test::Units;

std::wstring Fixture(std::string_view name) {
  return kest::test::SourcePath("tests/fixtures/xml").append(std::string(name)).wstring();
}

// Writes bytes to a new scratch file and answers its path.
std::wstring Scratch(std::string_view bytes) {
  static int counter = 0;
  const std::filesystem::path path =
      kest::test::ScratchFolder("xml-files") / ("doc" + std::to_string(counter++) + ".xml");
  EXPECT_TRUE(kest::test::WriteFileBytes(path, bytes));
  return path.wstring();
}

// UTF-16 code units as little- or big-endian bytes.
std::string Utf16Bytes(std::wstring_view units, bool bigEndian) {
  std::string bytes;
  for (const wchar_t unit : units) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>((unit >> 8) & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

std::wstring RootText(CXmlDocument& doc) {
  if (!doc.FindElement()) return L"<no element>";
  return doc.GetElementText(doc.GetMainPosition());
}

TEST(LoadFile, Utf8WithMark) {
  CXmlDocument doc;
  EXPECT_TRUE(doc.Load(Scratch("\xEF\xBB\xBF<v>\xC3\xA9</v>")));
  EXPECT_EQ(doc.GetText(), L"<v>\x00E9</v>") << "no mark in the text";
  EXPECT_EQ(doc.GetResultText(),
            L"<bom/><read encoding=\"UTF-8\" length=\"9\"/>"
            L"<converted_to encoding=\"UTF-16\" length=\"8\"/>");
  EXPECT_EQ(doc.GetDocumentFlags(), kXmlUtf8Mark);
}

TEST(LoadFile, Utf8WithoutMarkStartingWithLessThan) {
  CXmlDocument doc;
  EXPECT_TRUE(doc.Load(Scratch("<v>\xC3\xA9</v>")));
  EXPECT_EQ(RootText(doc), L"\x00E9");
  EXPECT_EQ(doc.GetResultText(),
            L"<read encoding=\"UTF-8\" length=\"9\"/>"
            L"<converted_to encoding=\"UTF-16\" length=\"8\"/>");
  EXPECT_EQ(doc.GetDocumentFlags(), 0u);
}

TEST(LoadFile, Utf8DeclaredManifestFixture) {
  CXmlDocument doc;
  ASSERT_TRUE(doc.Load(Fixture("manifest-utf8.xml")));
  EXPECT_EQ(doc.GetResultText(),
            L"<read encoding=\"utf-8\" length=\"140\"/>"
            L"<converted_to encoding=\"UTF-16\" length=\"138\"/>");
  ASSERT_TRUE(doc.FindChildElement(L"name"));
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_EQ(doc.GetElementText(doc.GetMainPosition()),
            L"Gr\x00F6\x00DF"
            L"e & Farbe");
  ASSERT_TRUE(doc.LeaveElement());
  ASSERT_TRUE(doc.FindChildElement(L"version"));
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_EQ(doc.GetElementText(doc.GetMainPosition()), L"2.0.1.7");
}

TEST(LoadFile, Utf16LittleEndianWithMark) {
  const std::wstring text = L"<v>\x00E9\xD83D\xDE00</v>";
  CXmlDocument doc;
  EXPECT_TRUE(doc.Load(Scratch("\xFF\xFE" + Utf16Bytes(text, false))));
  EXPECT_EQ(doc.GetText(), text) << Units(doc.GetText());
  EXPECT_EQ(doc.GetResultText(), L"<bom/><read encoding=\"UTF-16LE\" length=\"10\"/>");
  EXPECT_EQ(doc.GetDocumentFlags(), kXmlUtf16File);
}

TEST(LoadFile, Utf16BigEndianWithMark) {
  const std::wstring text = L"<v>\x00E9\x4E2D</v>";
  CXmlDocument doc;
  EXPECT_TRUE(doc.Load(Scratch("\xFE\xFF" + Utf16Bytes(text, true))));
  EXPECT_EQ(doc.GetText(), text) << Units(doc.GetText());
  EXPECT_EQ(doc.GetResultText(), L"<bom/><read encoding=\"UTF-16BE\" length=\"9\"/><endian_swap/>");
  EXPECT_EQ(doc.GetDocumentFlags(), kXmlBigEndian);
}

TEST(LoadFile, Utf16OddTrailingByteAndNulUnitsAreDropped) {
  CXmlDocument doc;
  EXPECT_TRUE(
      doc.Load(Scratch("\xFF\xFE" + Utf16Bytes(std::wstring(L"<a>\0</a>", 8), false) + "x")));
  EXPECT_EQ(doc.GetText(), L"<a></a>");
  EXPECT_EQ(doc.GetResultText(),
            L"<bom/><read encoding=\"UTF-16LE\" length=\"8\"/><nulls_removed count=\"1\"/>");
}

TEST(LoadFile, Utf16LittleEndianWithoutMarkIsReadAsBytes) {
  CXmlDocument doc;
  EXPECT_TRUE(doc.Load(Scratch(Utf16Bytes(L"\n<v>ab</v>", false))));
  EXPECT_EQ(RootText(doc), L"ab");
  EXPECT_EQ(doc.GetResultText(),
            L"<read encoding=\"UTF-8\" length=\"20\"/><nulls_removed count=\"10\"/>"
            L"<utf8_detection/><converted_to encoding=\"UTF-16\" length=\"10\"/>");
}

TEST(LoadFile, Iso88591Declared) {
  CXmlDocument doc;
  ASSERT_TRUE(doc.Load(Fixture("latin1-declared.xml")));
  EXPECT_EQ(RootText(doc), L"caf\x00E9");
  EXPECT_EQ(doc.GetResultText(),
            L"<read encoding=\"ISO-8859-1\" length=\"56\"/>"
            L"<converted_to encoding=\"UTF-16\" length=\"56\"/>");
}

TEST(LoadFile, UndeclaredUtf8IsDetected) {
  CXmlDocument doc;
  EXPECT_FALSE(doc.Load(Scratch("\xC3\xA9")));
  EXPECT_EQ(doc.GetText(), L"\x00E9");
  EXPECT_EQ(doc.GetResultText(),
            L"<read encoding=\"UTF-8\" length=\"2\"/><utf8_detection/>"
            L"<converted_to encoding=\"UTF-16\" length=\"1\"/><no_root_element/>");
}

TEST(LoadFile, UndeclaredNonUtf8UsesTheDefaultCodePage) {
  CXmlDocument doc;
  EXPECT_FALSE(doc.Load(Scratch("\xE9")));
  EXPECT_EQ(doc.GetResultText(),
            L"<read encoding=\"\" length=\"1\"/><utf8_detection/>"
            L"<converted_to encoding=\"UTF-16\" length=\"1\"/><no_root_element/>");
  // The host build's default is Windows-1252; so is the test machine's ANSI code page.
  EXPECT_EQ(doc.GetText(), L"\x00E9");
}

TEST(LoadFile, NulBytesNeverReachTheParser) {
  CXmlDocument doc;
  EXPECT_TRUE(doc.Load(Scratch(std::string("<v>a\0b\0</v>", 11))));
  EXPECT_EQ(RootText(doc), L"ab");
  EXPECT_EQ(doc.GetResultText(),
            L"<read encoding=\"UTF-8\" length=\"11\"/><nulls_removed count=\"2\"/>"
            L"<converted_to encoding=\"UTF-16\" length=\"9\"/>");
}

TEST(LoadFile, EmptyFile) {
  CXmlDocument doc;
  EXPECT_FALSE(doc.Load(Scratch("")));
  EXPECT_EQ(doc.GetText(), L"");
  EXPECT_EQ(doc.GetResultText(), L"<read encoding=\"\" length=\"0\"/>");
}

TEST(LoadFile, MissingFileGivesTheSystemMessageAndCode) {
  const std::filesystem::path path = kest::test::ScratchFolder("xml-files") / "missing.xml";
  CXmlDocument doc;
  EXPECT_FALSE(doc.Load(path.wstring()));
  const std::wstring message = xml::SystemErrorText(2);
  EXPECT_FALSE(message.empty());
  EXPECT_EQ(message.find_first_of(L"\r\n"), std::wstring::npos);
  EXPECT_EQ(doc.GetResultText(), L"<file_error msg=\"" + message + L"\" n=\"2\"/>");
  EXPECT_EQ(doc.GetText(), L"");
  EXPECT_FALSE(doc.FindElement());
}

TEST(LoadFile, FailedLoadLeavesNoElementsOfAnEarlierDocument) {
  CXmlDocument doc;
  ASSERT_TRUE(doc.Load(Scratch("<r><a>text</a></r>")));
  EXPECT_FALSE(doc.Load((kest::test::ScratchFolder("xml-files") / "missing.xml").wstring()));
  EXPECT_EQ(doc.GetElementCount(), 1);
  EXPECT_FALSE(doc.FindChildElement(L"a"));
  EXPECT_EQ(doc.GetElementText(2), L"");
}

TEST(LoadFile, AMarkFromAnEarlierLoadDoesNotStay) {
  CXmlDocument doc;
  EXPECT_TRUE(doc.Load(Scratch("\xFE\xFF" + Utf16Bytes(L"<a/>", true))));
  EXPECT_TRUE(doc.Load(Scratch("\xFF\xFE" + Utf16Bytes(L"<b/>", false))));
  EXPECT_EQ(doc.GetText(), L"<b/>");
  EXPECT_EQ(doc.GetDocumentFlags(), kXmlUtf16File);
}

TEST(LoadFile, EmptyOrMissingFilesClearTheEncodingFlags) {
  CXmlDocument doc;
  EXPECT_TRUE(doc.Load(Scratch("\xFE\xFF" + Utf16Bytes(L"<a/>", true))));
  EXPECT_FALSE(doc.Load(Scratch("")));
  EXPECT_EQ(doc.GetDocumentFlags(), 0u);
  EXPECT_TRUE(doc.Load(Scratch("\xEF\xBB\xBF<a/>")));
  EXPECT_FALSE(doc.Load((kest::test::ScratchFolder("xml-files") / "missing.xml").wstring()));
  EXPECT_EQ(doc.GetDocumentFlags(), 0u);
}

TEST(LoadFile, DeclarationBeyondTheFirstKilobyteIsNotSeen) {
  const std::string padding(1100, ' ');
  CXmlDocument doc;
  doc.Load(Scratch(padding + "<?xml version='1.0' encoding='ISO-8859-1'?><v>\xE9</v>"));
  EXPECT_EQ(doc.GetResultText().substr(0, 36), L"<read encoding=\"\" length=\"1151\"/><ut");
}

#ifdef _WIN32
// The real code pages exist only on Windows (and Wine).
TEST(LoadFile, Windows1251FromHtmlMetaTag) {
  CXmlDocument doc;
  EXPECT_FALSE(doc.Load(Fixture("cyrillic-meta.html"))) << "the meta tag is never closed";
  const std::wstring records =
      L"<read encoding=\"windows-1251\" length=\"136\"/>"
      L"<converted_to encoding=\"UTF-16\" length=\"136\"/>";
  EXPECT_EQ(doc.GetResultText().substr(0, records.size()), records);
  EXPECT_NE(doc.GetText().find(L"<body>\x041F\x0440\x0438\x0432\x0435\x0442</body>"),
            std::wstring::npos)
      << Units(doc.GetText());
}

TEST(LoadFile, ShiftJisDeclared) {
  CXmlDocument doc;
  ASSERT_TRUE(doc.Load(Fixture("shift-jis-declared.xml")));
  EXPECT_EQ(RootText(doc), L"\x65E5\x672C");
  EXPECT_EQ(doc.GetResultText(),
            L"<read encoding=\"Shift_JIS\" length=\"55\"/>"
            L"<converted_to encoding=\"UTF-16\" length=\"53\"/>");
}
#else
TEST(LoadFile, UnknownCodePagesKeepAsciiOnTheHost) {
  CXmlDocument doc;
  doc.Load(Fixture("cyrillic-meta.html"));
  EXPECT_NE(doc.GetText().find(L"<body>\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD</body>"),
            std::wstring::npos);
}
#endif

}  // namespace
