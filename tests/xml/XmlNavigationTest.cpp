// The cursor, forward-only lookups, element text and reference decoding.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/xml/XmlTestText.h"
#include "xml/CharacterReferences.h"
#include "xml/XmlDocument.h"

namespace {

using kest::test::Units;
using kest::test::Wide;

// Reads one value the way the manifest and version readers do.
std::wstring ReadValue(CXmlDocument& doc, std::wstring_view name) {
  if (!doc.FindChildElement(name)) return L"<missing>";
  EXPECT_TRUE(doc.EnterElement());
  std::wstring value = doc.GetElementText(doc.GetMainPosition());
  EXPECT_TRUE(doc.LeaveElement());
  return value;
}

constexpr const wchar_t* kManifest =
    L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    L"<qorwebinstaller>\n"
    L"  <version>1.2.3.4</version>\n"
    L"  <product>Kest &amp; Co</product>\n"
    L"  <languages><language id=\"1033\">English</language><language>Deutsch</language>"
    L"</languages>\n"
    L"  <url><![CDATA[http://x/?a=1&b=2]]></url>\n"
    L"</qorwebinstaller>\n";

TEST(Navigation, ReadsValuesInDocumentOrder) {
  CXmlDocument doc;
  ASSERT_TRUE(doc.SetText(kManifest));
  EXPECT_EQ(ReadValue(doc, L"version"), L"1.2.3.4");
  EXPECT_EQ(ReadValue(doc, L"product"), L"Kest & Co");
  ASSERT_TRUE(doc.FindChildElement(L"languages"));
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_EQ(ReadValue(doc, L"language"), L"English");
  EXPECT_EQ(ReadValue(doc, L"language"), L"Deutsch");
  EXPECT_EQ(ReadValue(doc, L"language"), L"<missing>");
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(ReadValue(doc, L"url"), L"http://x/?a=1&b=2");
}

TEST(Navigation, LookupsOnlyMoveForward) {
  CXmlDocument doc;
  ASSERT_TRUE(doc.SetText(L"<r><y>1</y><z>2</z><y>3</y></r>"));
  EXPECT_EQ(ReadValue(doc, L"z"), L"2");
  EXPECT_EQ(ReadValue(doc, L"y"), L"3") << "the y before z is never seen again";
  EXPECT_EQ(ReadValue(doc, L"y"), L"<missing>");
  EXPECT_EQ(ReadValue(doc, L"z"), L"<missing>") << "no wrapping";
}

TEST(Navigation, MissingElementLeavesTheCursorAlone) {
  CXmlDocument doc;
  ASSERT_TRUE(doc.SetText(L"<r><a/><b/></r>"));
  ASSERT_TRUE(doc.FindChildElement(L"a"));
  const std::int32_t child = doc.GetChildPosition();
  EXPECT_FALSE(doc.FindChildElement(L"nothing"));
  EXPECT_EQ(doc.GetChildPosition(), child);
  EXPECT_TRUE(doc.FindChildElement(L"b"));
}

TEST(Navigation, CursorMoves) {
  CXmlDocument doc;
  ASSERT_TRUE(doc.SetText(L"<r><a><b/></a></r>"));  // 1 r, 2 a, 3 b
  EXPECT_FALSE(doc.EnterElement()) << "nothing to enter at the document level";
  EXPECT_FALSE(doc.LeaveElement());
  EXPECT_EQ(doc.GetNodeType(), 0);

  ASSERT_TRUE(doc.FindChildElement());  // selects r, then its first child a
  EXPECT_EQ(doc.GetParentPosition(), 0);
  EXPECT_EQ(doc.GetMainPosition(), 1);
  EXPECT_EQ(doc.GetChildPosition(), 2);
  EXPECT_EQ(doc.GetNodeType(), 1);

  ASSERT_TRUE(doc.EnterElement());
  EXPECT_EQ(doc.GetParentPosition(), 1);
  EXPECT_EQ(doc.GetMainPosition(), 2);
  EXPECT_EQ(doc.GetChildPosition(), 0);

  ASSERT_TRUE(doc.EnterElement());  // no child chosen: main becomes 0
  EXPECT_EQ(doc.GetParentPosition(), 2);
  EXPECT_EQ(doc.GetMainPosition(), 0);
  EXPECT_EQ(doc.GetNodeType(), 0);
  EXPECT_FALSE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement(L"b"));
  EXPECT_EQ(doc.GetMainPosition(), 3);

  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(doc.GetParentPosition(), 1);
  EXPECT_EQ(doc.GetMainPosition(), 2);
  EXPECT_EQ(doc.GetChildPosition(), 3);
  ASSERT_TRUE(doc.LeaveElement());
  ASSERT_TRUE(doc.LeaveElement() == false || doc.GetParentPosition() == 0);
  EXPECT_EQ(doc.GetMainPosition(), 1);
  EXPECT_EQ(doc.GetNodeOffset(), 0);
  EXPECT_EQ(doc.GetNodeLength(), 0);
}

TEST(Navigation, FindElementWalksTopLevelElements) {
  CXmlDocument doc;
  EXPECT_FALSE(doc.SetText(L"<a/><b/><a/>"));
  EXPECT_TRUE(doc.FindElement(L"b"));
  EXPECT_TRUE(doc.FindElement(L"a"));
  EXPECT_EQ(doc.GetMainPosition(), 3);
  EXPECT_FALSE(doc.FindElement());
}

TEST(Navigation, NameMatchIsExactAndStopsAtDelimiters) {
  CXmlDocument doc;
  ASSERT_TRUE(doc.SetText(L"<r><Item/><item\tx='1'/><item2/><ns:item/></r>"));
  EXPECT_TRUE(doc.FindChildElement(L"item"));
  EXPECT_EQ(doc.GetChildPosition(), 3);
  EXPECT_FALSE(doc.FindChildElement(L"item"));
  EXPECT_TRUE(doc.FindChildElement(L"ns:item"));
}

struct TextCase {
  const char* name;
  const wchar_t* xml;
  const wchar_t* text;
};

class ElementText : public testing::TestWithParam<TextCase> {};

TEST_P(ElementText, OfTheRootElement) {
  const TextCase& c = GetParam();
  CXmlDocument doc;
  doc.SetText(c.xml);
  ASSERT_TRUE(doc.FindElement());
  const std::wstring text = doc.GetElementText(doc.GetMainPosition());
  EXPECT_EQ(text, std::wstring(c.text)) << Units(text);
}

const TextCase kTextCases[] = {
    {"Untrimmed", L"<v> 1.2 </v>", L" 1.2 "},
    {"LineBreaksKept", L"<v>\r\n a\r\n</v>", L"\r\n a\r\n"},
    {"Amp", L"<v>a&amp;b</v>", L"a&b"},
    {"Numbers", L"<v>&#x41;&#66;&#X43;</v>", L"ABC"},
    {"Bogus", L"<v>&bogus;</v>", L"&bogus;"},
    {"Cdata", L"<v><![CDATA[<x>]]></v>", L"<x>"},
    {"CdataKeepsReferences", L"<v><![CDATA[&amp;]]></v>", L"&amp;"},
    {"ChildElement", L"<v><w/></v>", L""},
    {"ChildElementAmongText", L"<v>a<w/>b</v>", L""},
    {"EmptyElement", L"<v/>", L""},
    {"EmptyContent", L"<v></v>", L""},
    {"Unended", L"<v>text", L""},
    {"TextAroundCdataAndComment", L"<v>a<!-- c -->b<![CDATA[c]]>&lt;<?pi?>d</v>", L"abc<d"},
    {"WhitespaceBetweenMarkupDropped", L"<v> <![CDATA[x]]> </v>", L"x"},
    {"StrayEndTagInside", L"<v>a</w>b</v>", L"ab"},
    {"Surrogates", L"<v>&#x1F600;</v>", L"\xD83D\xDE00"},
    {"DecimalSurrogates", L"<v>&#128512;</v>", L"\xD83D\xDE00"},
    {"ZeroStays", L"<v>&#0;&#x;&#;</v>", L"&#0;&#x;&#;"},
    {"BeyondUnicodeStays", L"<v>&#x110000;</v>", L"&#x110000;"},
    {"TrailingJunkInNumber", L"<v>&#65zz;</v>", L"A"},
    {"UpperCaseEntity", L"<v>&AMP;&Lt;</v>", L"&<"},
    {"LatinCapitalAndSmall", L"<v>&Eacute;&eacute;</v>", L"\x00C9\x00E9"},
    {"ArrowsKeepTheirCase", L"<v>&darr;&dArr;</v>", L"\x2193\x21D3"},
    {"Longest", L"<v>&thetasym;</v>", L"\x03D1"},
    {"NameTooLong", L"<v>&abcdefghij;</v>", L"&abcdefghij;"},
    {"NineCharacterNumber", L"<v>&#00000065;</v>", L"A"},
    {"NoSemicolon", L"<v>&amp &lt;</v>", L"&amp <"},
    {"NonAsciiEndsReference", L"<v>&am\x00E9;</v>", L"&am\x00E9;"},
    {"AmpersandInsideName", L"<v>&a&amp;</v>", L"&a&"},
    {"ApostropheAndEuro", L"<v>&apos;&euro;&nbsp;&copy;</v>", L"'\x20AC\x00A0\x00A9"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ElementText, testing::ValuesIn(kTextCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ElementText, OutOfRangeIndexIsEmpty) {
  CXmlDocument doc;
  ASSERT_TRUE(doc.SetText(L"<v>x</v>"));
  EXPECT_EQ(doc.GetElementText(0), L"");
  EXPECT_EQ(doc.GetElementText(-1), L"");
  EXPECT_EQ(doc.GetElementText(2), L"");
  EXPECT_EQ(doc.GetElementText(1), L"x");
}

TEST(EntityTable, EveryEntryDecodes) {
  EXPECT_EQ(xml::EntityCount(), 253u);
  const struct {
    const wchar_t* name;
    std::uint32_t codePoint;
  } samples[] = {{L"amp", 38},       {L"lt", 60},      {L"gt", 62},       {L"quot", 34},
                 {L"apos", 39},      {L"nbsp", 160},   {L"copy", 169},    {L"euro", 8364},
                 {L"thetasym", 977}, {L"yuml", 255},   {L"Yuml", 376},    {L"fnof", 402},
                 {L"sigmaf", 962},   {L"diams", 9830}, {L"rsaquo", 8250}, {L"Prime", 8243},
                 {L"prime", 8242},   {L"OElig", 338},  {L"oelig", 339},   {L"lang", 9001}};
  for (const auto& sample : samples) {
    EXPECT_EQ(xml::LookupEntity(sample.name), sample.codePoint) << Units(sample.name);
  }
  std::set<std::wstring_view> names;
  for (std::size_t i = 0; i < xml::EntityCount(); ++i) {
    const std::wstring_view name = xml::EntityNameAt(i);
    names.insert(name);
    const std::wstring reference = L"&" + std::wstring(name) + L";";
    std::wstring decoded;
    xml::AppendDecodedText(decoded, reference);
    ASSERT_EQ(decoded.size(), 1u) << Units(name);
    EXPECT_EQ(static_cast<std::uint32_t>(decoded[0]), xml::LookupEntity(name));
  }
  EXPECT_EQ(names.size(), 253u);
  EXPECT_EQ(xml::LookupEntity(L"EACUTE"), 201u) << "other capitalisations take the first entry";
  EXPECT_EQ(xml::LookupEntity(L"DARR"), 8595u);
  EXPECT_EQ(xml::LookupEntity(L"nosuch"), 0u);
  EXPECT_EQ(xml::LookupEntity(L""), 0u);
}

}  // namespace
