// Parsing: the well-formed rule, the parse records, the tree the builder makes of broken markup,
// and the element table's growth.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/xml/XmlTestText.h"
#include "xml/ElementTable.h"
#include "xml/NodeScanner.h"
#include "xml/XmlDocument.h"

namespace {

using kest::test::Wide;

struct ParseCase {
  const char* name;
  const char* text;
  bool wellFormed;
  const char* results;
};

class ParseRecords : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseRecords, GiveWellFormedFlagAndRecords) {
  const ParseCase& c = GetParam();
  CXmlDocument doc;
  EXPECT_EQ(doc.SetText(Wide(c.text)), c.wellFormed);
  EXPECT_EQ(doc.IsWellFormed(), c.wellFormed);
  EXPECT_EQ(doc.GetResultText(), Wide(c.results));
}

const ParseCase kParseCases[] = {
    {"Empty", "", false, ""},
    {"OnlyComment", "<!-- nothing -->", false, "<no_root_element/>"},
    {"OnlyDeclaration", "<?xml version=\"1.0\"?>", false, "<no_root_element/>"},
    {"OnlyText", "just text", false, "<no_root_element/>"},
    {"TwoTopLevel", "<a/><b/>", false, "<root_has_sibling/>"},
    {"ProseAroundRoot", "<?xml version='1.0'?>\n<!-- c -->\ntext<r>x</r>\n<?pi?><!-- d -->", true,
     ""},
    {"UnendedInner", "<a><b></a>", false,
     "<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"7\"/>"},
    {"UnendedAtEnd", "<a><b>", false,
     "<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"6\"/>"
     "<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"6\"/>"
     "<root_has_sibling/>"},
    {"LoneEndTag", "<a></b></a>", false, "<lone_end_tag tagname=\"b\" offset=\"3\"/>"},
    {"LoneEndTagAtTop", "</x><a/>", false, "<lone_end_tag tagname=\"x\" offset=\"0\"/>"},
    {"QuotedGreaterThan", "<a x='1>2' y=\"3>4\">t</a>", true, ""},
    {"QuoteNotAfterEquals", "<a x=1'>'</a>", true, ""},
    {"SlashAfterUnquotedValue", "<a x=1/>", false,
     "<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"8\"/>"},
    {"SlashAfterQuotedValue", "<a x='1'/>", true, ""},
    {"SlashAfterSpace", "<a />", true, ""},
    {"SlashAfterName", "<a/>", true, ""},
    {"SlashSpaceGreater", "<a/ >", false,
     "<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"5\"/>"},
    {"EndTagWithSpace", "<a></a >", true, ""},
    {"CaseMatters", "<a></A>", false,
     "<lone_end_tag tagname=\"A\" offset=\"3\"/>"
     "<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"7\"/>"},
    {"FirstTagSyntax", "<r><1></r>", false, "<first_tag_syntax offset=\"3\"/>"},
    {"FirstTagSyntaxBeforeLess", "<r>< <x/></r>", false, "<first_tag_syntax offset=\"3\"/>"},
    {"EmptyAngles", "<r><></r>", false, "<first_tag_syntax offset=\"3\"/>"},
    {"ExclamationSyntax", "<r><!x></r>", false, "<exclamation_tag_syntax offset=\"3\"/>"},
    {"CommentSyntax", "<r><!-x></r>", false, "<comment_tag_syntax offset=\"3\"/>"},
    {"CdataSyntax", "<r><![x]></r>", false, "<cdata_section_syntax offset=\"3\"/>"},
    {"MalformedQuotedSkip", "<r><1 a='>'></r>", false, "<first_tag_syntax offset=\"3\"/>"},
    {"UnterminatedTag", "<r/><", false, "<unterminated_tag_syntax type=\"tag\" offset=\"4\"/>"},
    {"UnterminatedStartTag", "<r/><a x='>", false,
     "<unterminated_tag_syntax type=\"start_tag\" offset=\"4\"/>"},
    {"UnterminatedEndTag", "<r></r", false,
     "<unterminated_tag_syntax type=\"end_tag\" offset=\"3\"/>"
     "<unended_start_tag tagname=\"r\" offset=\"0\" offset2=\"6\"/>"},
    {"UnterminatedComment", "<r/><!-- x --", false,
     "<unterminated_tag_syntax type=\"comment\" offset=\"4\"/>"},
    {"CommentNeedsOwnDashes", "<r/><!-->", false,
     "<unterminated_tag_syntax type=\"comment\" offset=\"4\"/>"},
    {"UnterminatedPi", "<r/><?pi ?", false,
     "<unterminated_tag_syntax type=\"processing_instruction\" offset=\"4\"/>"},
    {"UnterminatedCdata", "<r><![CDATA[x]]", false,
     "<unterminated_tag_syntax type=\"cdata_section\" offset=\"3\"/>"
     "<unended_start_tag tagname=\"r\" offset=\"0\" offset2=\"15\"/>"},
    {"UnterminatedDoctype", "<!DOCTYPE r [ <!ELEMENT r 'x>", false,
     "<unterminated_tag_syntax type=\"document_type\" offset=\"0\"/><no_root_element/>"},
    {"CommentWithGreaterThan", "<r><!-- a > b -- > c --></r>", true, ""},
    {"CdataWithMarkup", "<r><![CDATA[<x> ]] ]>]]></r>", true, ""},
    {"PiWithGreaterThan", "<?pi a > b ?><r/>", true, ""},
    {"DoctypeWithNestedDeclarations",
     "<!DOCTYPE r [\n <!ELEMENT r (#PCDATA)>\n <!ATTLIST r a CDATA \"x>y\">\n"
     " <!ENTITY e 'a>\"b'>\n <!-- c > -->\n <?pi > ?>\n]>\n<r/>",
     true, ""},
    {"DoctypeSyntaxWaitsForMalformedNode", "<!DOCTYPE r [ <!X> ]><r/>", true, ""},
    {"DoctypeSyntaxMovesWithMalformedNode", "<!DOCTYPE r [ <!X> ]><r><1></r>", false,
     "<doctype_tag_syntax offset=\"14\"/><first_tag_syntax offset=\"24\"/>"},
    {"EscapedTagName", "<r></b\"&'<></r>", false,
     "<lone_end_tag tagname=\"b&quot;&amp;&apos;&lt;\" offset=\"3\"/>"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ParseRecords, testing::ValuesIn(kParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Parse, ConstructedDocumentIsEmptyAndAtDocumentLevel) {
  CXmlDocument doc;
  EXPECT_FALSE(doc.IsWellFormed());
  EXPECT_EQ(doc.GetResultText(), L"");
  EXPECT_EQ(doc.GetElementCount(), 1);
  EXPECT_EQ(doc.GetMainPosition(), 0);
  EXPECT_FALSE(doc.FindElement());
}

TEST(Parse, RecordsForAWellFormedTree) {
  CXmlDocument doc;
  ASSERT_TRUE(doc.SetText(L"<r><a>1</a><b x='y'/><c></c ></r>"));
  ASSERT_EQ(doc.GetElementCount(), 5);
  const xml::ElementRecord& document = *doc.GetElement(0);
  EXPECT_EQ(document.length, 33);
  EXPECT_EQ(document.firstChild, 1);

  const xml::ElementRecord& r = *doc.GetElement(1);
  EXPECT_EQ(r.start, 0);
  EXPECT_EQ(r.length, 33);
  EXPECT_EQ(xml::StartTagLength(r), 3);
  EXPECT_EQ(xml::EndTagLength(r), 4);
  EXPECT_EQ(r.flagsAndLevel, xml::kFirstChild);
  EXPECT_EQ(r.firstChild, 2);
  EXPECT_EQ(r.previousSibling, 1);

  const xml::ElementRecord& a = *doc.GetElement(2);
  EXPECT_EQ(a.flagsAndLevel, xml::kFirstChild | 1);
  EXPECT_EQ(a.previousSibling, 4) << "a first child points at the last child";
  EXPECT_EQ(a.nextSibling, 3);
  const xml::ElementRecord& b = *doc.GetElement(3);
  EXPECT_EQ(b.length, 10);
  EXPECT_EQ(xml::StartTagLength(b), 10);
  EXPECT_EQ(xml::EndTagLength(b), 0);
  EXPECT_EQ(b.previousSibling, 2);
  const xml::ElementRecord& c = *doc.GetElement(4);
  EXPECT_EQ(xml::EndTagLength(c), 5);
  EXPECT_EQ(c.length, 8);
  EXPECT_EQ(c.nextSibling, 0);
  EXPECT_EQ(c.parent, 1);
}

TEST(Parse, UnendedElementHandsItsChildrenToItsParent) {
  CXmlDocument doc;
  EXPECT_FALSE(doc.SetText(L"<r><a><b/><c>t</c></r>"));
  // 1 r, 2 a, 3 b, 4 c
  const xml::ElementRecord& r = *doc.GetElement(1);
  const xml::ElementRecord& a = *doc.GetElement(2);
  const xml::ElementRecord& b = *doc.GetElement(3);
  const xml::ElementRecord& c = *doc.GetElement(4);
  EXPECT_TRUE(a.flagsAndLevel & xml::kUnended);
  EXPECT_EQ(a.length, 3);
  EXPECT_EQ(a.firstChild, 0);
  EXPECT_EQ(r.firstChild, 2);
  EXPECT_EQ(a.nextSibling, 3);
  EXPECT_EQ(b.nextSibling, 4);
  EXPECT_EQ(c.nextSibling, 0);
  EXPECT_EQ(b.parent, 1);
  EXPECT_EQ(c.parent, 1);
  EXPECT_FALSE(b.flagsAndLevel & xml::kFirstChild);
  EXPECT_EQ(b.previousSibling, 2);
  EXPECT_EQ(a.previousSibling, 4) << "r's last-child link follows the moved children";
  EXPECT_FALSE(r.flagsAndLevel & xml::kUnended);
  EXPECT_TRUE(doc.GetElement(0)->flagsAndLevel & xml::kDocumentIllFormed);
}

TEST(Parse, NestedUnendedElementsFlattenInDocumentOrder) {
  CXmlDocument doc;
  // 1 r, 2 a, 3 x, 4 b, 5 y, 6 z
  EXPECT_FALSE(doc.SetText(L"<r><a><x/><b><y/><z/></r><after/>"));
  std::vector<std::int32_t> order;
  for (std::int32_t e = doc.GetElement(1)->firstChild; e != 0; e = doc.GetElement(e)->nextSibling) {
    order.push_back(e);
    EXPECT_EQ(doc.GetElement(e)->parent, 1);
  }
  EXPECT_EQ(order, (std::vector<std::int32_t>{2, 3, 4, 5, 6}));
  EXPECT_EQ(doc.GetElement(2)->previousSibling, 6);
  EXPECT_EQ(doc.GetResultText(),
            L"<unended_start_tag tagname=\"b\" offset=\"10\" offset2=\"22\"/>"
            L"<unended_start_tag tagname=\"a\" offset=\"3\" offset2=\"22\"/>"
            L"<root_has_sibling/>");
}

TEST(Parse, IllFormedContentMovesUpFromAnUnendedElement) {
  CXmlDocument doc;
  EXPECT_FALSE(doc.SetText(L"<r><a><1></r>"));
  EXPECT_FALSE(doc.GetElement(2)->flagsAndLevel & xml::kIllFormedContent);
  EXPECT_TRUE(doc.GetElement(1)->flagsAndLevel & xml::kIllFormedContent);
}

TEST(Parse, StrayEndTagMarksTheCurrentElement) {
  CXmlDocument doc;
  EXPECT_FALSE(doc.SetText(L"<r><a></x></a></r>"));
  EXPECT_TRUE(doc.GetElement(2)->flagsAndLevel & xml::kIllFormedContent);
  EXPECT_FALSE(doc.GetElement(1)->flagsAndLevel & xml::kIllFormedContent);
  EXPECT_EQ(doc.GetElement(2)->length, 11) << "a still closes normally";
}

TEST(Parse, ResultRecordsStopAtTheCap) {
  std::wstring text = L"<r>";
  for (int i = 0; i < 200; ++i) text += L"</stray>";
  text += L"</r>";
  CXmlDocument doc;
  EXPECT_FALSE(doc.SetText(text));
  const std::wstring& results = doc.GetResultText();
  const std::size_t lastRecord = results.rfind(L'<');
  EXPECT_GE(results.size(), 1000u);
  EXPECT_LT(lastRecord, 1000u) << "the last record began below the cap";
  EXPECT_EQ(results.substr(results.size() - 2), L"/>");
}

TEST(Parse, HugeTagNamesDoNotBloatTheResultText) {
  // Found by fuzzing: one record could carry a whole (escaped) tag name of any length.
  const std::wstring name(100000, L'<');
  CXmlDocument doc;
  EXPECT_FALSE(doc.SetText(L"<r></" + name + L"></r>"));
  EXPECT_LT(doc.GetResultText().size(), 1200u);
  EXPECT_EQ(doc.GetResultText().substr(0, 31), L"<lone_end_tag tagname=\"&lt;&lt;");
}

TEST(Parse, TooLongEndTagMakesTheDocumentIllFormed) {
  const std::wstring name(1100, L'n');
  CXmlDocument doc;
  EXPECT_FALSE(doc.SetText(L"<" + name + L">text</" + name + L">"));
  EXPECT_NE(doc.GetResultText().find(L"<tag_too_long tagname=\"nnn"), std::wstring::npos);
  // The text never runs into the end tag, however the lengths were cut.
  EXPECT_EQ(doc.GetElementText(1).find(L'<'), std::wstring::npos);
}

TEST(Parse, TooLongStartTagMakesTheDocumentIllFormed) {
  const std::wstring value(xml::kStartTagLengthMax + 10, L'y');
  CXmlDocument doc;
  EXPECT_FALSE(doc.SetText(L"<a x='" + value + L"'>text</a>"));
  EXPECT_EQ(doc.GetResultText().substr(0, 38), L"<tag_too_long tagname=\"a\" offset=\"0\"/>");
  EXPECT_EQ(doc.GetElementText(1).find(L"</a>"), std::wstring::npos);
}

TEST(Parse, MoreThanOnePageOfElements) {
  constexpr int kCount = 70000;
  std::wstring text = L"<r>";
  for (int i = 0; i < kCount; ++i) text += L"<e>" + std::to_wstring(i) + L"</e>";
  text += L"</r>";
  CXmlDocument doc;
  const std::int64_t initialCapacity = static_cast<std::int64_t>(text.size() / 64) + 8;
  ASSERT_TRUE(doc.SetText(text));
  ASSERT_EQ(doc.GetElementCount(), kCount + 2);
  EXPECT_GT(doc.GetTableCapacity(), initialCapacity) << "the table grew during the scan";
  EXPECT_GE(doc.GetTableCapacity(), kCount + 2);

  // Records on both sides of the page boundary are intact and linked in order.
  std::int32_t element = doc.GetElement(1)->firstChild;
  for (int i = 0; i < kCount; ++i) {
    ASSERT_NE(element, 0);
    ASSERT_EQ(doc.GetElement(element)->parent, 1);
    if (i == 0 || i == 65533 || i == 65534 || i == 65535 || i == kCount - 1) {
      EXPECT_EQ(doc.GetElementText(element), std::to_wstring(i)) << i;
    }
    element = doc.GetElement(element)->nextSibling;
  }
  EXPECT_EQ(element, 0);
  EXPECT_EQ(doc.GetElement(doc.GetElement(1)->firstChild)->previousSibling, kCount + 1);
}

TEST(Parse, HostileNestingStaysLinear) {
  // Deep unended nesting and a flood of stray end tags: quadratic work here would not finish.
  constexpr int kDepth = 200000;
  std::wstring text;
  for (int i = 0; i < kDepth; ++i) text += L"<a>";
  for (int i = 0; i < kDepth; ++i) text += L"<b/>";
  for (int i = 0; i < kDepth; ++i) text += L"</z>";
  CXmlDocument doc;
  EXPECT_FALSE(doc.SetText(text));
  EXPECT_EQ(doc.GetElementCount(), 2 * kDepth + 1);
  EXPECT_LE(doc.GetResultText().size(), 1100u);
}

TEST(Parse, SetTextReplacesTheDocument) {
  CXmlDocument doc;
  EXPECT_FALSE(doc.SetText(L"<a/><b/>"));
  EXPECT_TRUE(doc.SetText(L"<c/>"));
  EXPECT_EQ(doc.GetResultText(), L"");
  EXPECT_EQ(doc.GetElementCount(), 2);
  EXPECT_TRUE(doc.FindElement(L"c"));
}

struct ScanCase {
  const char* text;
  xml::NodeKind kind;
  int length;
  bool empty;
};

TEST(NodeScanner, KindsAndLengths) {
  const ScanCase cases[] = {
      {"  \n<a>", xml::NodeKind::kWhitespace, 3, false},
      {"  x <a>", xml::NodeKind::kText, 4, false},
      {"text", xml::NodeKind::kText, 4, false},
      {"<a b='/'/>", xml::NodeKind::kStartTag, 10, true},
      {"<a b=/>", xml::NodeKind::kStartTag, 7, false},
      {"</a>", xml::NodeKind::kEndTag, 4, false},
      {"<?a?>", xml::NodeKind::kProcessingInstruction, 5, false},
      {"<!---->", xml::NodeKind::kComment, 7, false},
      {"<![CDATA[]]>", xml::NodeKind::kCdataSection, 12, false},
      {"<!DOCTYPE a>x", xml::NodeKind::kDocumentType, 12, false},
      {"<!doctype a>", xml::NodeKind::kMalformed, 12, false},
      {"<a", xml::NodeKind::kMalformed, 2, false},
  };
  for (const ScanCase& c : cases) {
    const std::wstring text = Wide(c.text);
    xml::NodeScanner scanner(text);
    const xml::XmlNode node = scanner.Next(0);
    EXPECT_EQ(node.kind, c.kind) << c.text;
    EXPECT_EQ(node.length, c.length) << c.text;
    EXPECT_EQ(node.emptyElement, c.empty) << c.text;
  }
}

TEST(NodeScanner, IgnoringCaseAcceptsLowerCaseDoctype) {
  const std::wstring text = L"<!doctype html><html>";
  xml::NodeScanner scanner(text, /*ignoreCase=*/true);
  EXPECT_EQ(scanner.Next(0).kind, xml::NodeKind::kDocumentType);
  EXPECT_FALSE(scanner.HasPendingRecords());
}

}  // namespace
