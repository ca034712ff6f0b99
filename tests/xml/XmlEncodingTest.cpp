// Encoding names, declared encodings, the UTF-8 test, conversion and the result-record format.
#include <gtest/gtest.h>

#include <cwctype>
#include <set>
#include <string>

#include "tests/xml/XmlTestText.h"
#include "xml/DocumentFileReader.h"
#include "xml/EncodingNames.h"
#include "xml/ResultText.h"

namespace {

using kest::test::Units;
using kest::test::Wide;

TEST(CodePageFromName, KnownNamesAndAliases) {
  const struct {
    const wchar_t* name;
    std::int32_t codePage;
  } cases[] = {
      {L"utf-8", 65001},
      {L"UTF-8", 65001},
      {L"utf-16", 1200},
      {L"utf-16le", 1200},
      {L"unicode", 1200},
      {L"utf-16be", 1201},
      {L"unicodeFFFE", 1201},
      {L"utf-32", 12000},
      {L"utf-7", 65000},
      {L"us-ascii", 20127},
      {L"ascii", 20127},
      {L"iso-8859-1", 28591},
      {L"ISO-8859-1", 28591},
      {L"latin1", 28591},
      {L"windows-1252", 1252},
      {L"cp1252", 1252},
      {L"Shift_JIS", 932},
      {L"gb2312", 936},
      {L"gbk", 936},
      {L"gb18030", 54936},
      {L"big5", 950},
      {L"ks_c_5601-1987", 949},
      {L"ksc_5601", 949},
      {L"euc-kr", 51949},
      {L"euc-jp", 20932},
      {L"iso-2022-jp", 50220},
      {L"koi8-r", 20866},
      {L"windows-874", 874},
      {L"x-mac-japanese", 10001},
      {L"windows-1251", 1251},
      {L"koi8-u", 21866},
      {L"iso-8859-15", 28605},
      {L"iso-8859-8-i", 38598},
      {L"ibm00858", 858},
      {L"ebcdic-cp-us", 37},
      {L"hz-gb-2312", 52936},
      {L"IBM437", 437},
      {L"x-mac-ce", 10029},
      {L"ibm01149", 1149},
  };
  for (const auto& c : cases) EXPECT_EQ(xml::CodePageFromName(c.name), c.codePage) << Units(c.name);
  EXPECT_EQ(xml::EncodingNameCount(), 365u);
}

TEST(CodePageFromName, EveryTableEntryIsFoundInAnyLetterCase) {
  std::set<std::wstring_view> names;
  std::set<std::int32_t> codePages;
  for (std::size_t i = 0; i < xml::EncodingNameCount(); ++i) {
    const std::wstring_view name = xml::EncodingNameAt(i);
    const std::int32_t codePage = xml::EncodingCodePageAt(i);
    names.insert(name);
    codePages.insert(codePage);
    EXPECT_EQ(xml::CodePageFromName(name), codePage) << Units(name);
    std::wstring upper(name);
    for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(c));
    if (upper.rfind(L"UTF-32", 0) != 0) {
      EXPECT_EQ(xml::CodePageFromName(upper), codePage) << Units(upper);
    }
  }
  EXPECT_EQ(names.size(), 365u) << "names are unique";
  EXPECT_EQ(codePages.size(), 110u);
}

TEST(CodePageFromName, SpecialNames) {
  EXPECT_EQ(xml::CodePageFromName(L""), 0);
  EXPECT_EQ(xml::CodePageFromName(L"UTF-32"), 65005);
  EXPECT_EQ(xml::CodePageFromName(L"UTF-32BE"), 65005);
  EXPECT_EQ(xml::CodePageFromName(L"Utf-32"), 12000) << "only the capital prefix is the marker";
  EXPECT_EQ(xml::CodePageFromName(L"no-such-encoding"), -1);
  EXPECT_EQ(xml::CodePageFromName(L"utf-8 "), -1);
  EXPECT_EQ(xml::CodePageFromName(std::wstring(99, L'x')), -1);
  EXPECT_EQ(xml::CodePageFromName(L"utf-8" + std::wstring(95, L' ')), -1);
  EXPECT_EQ(xml::CodePageFromName(std::wstring(5000, L'U')), -1);
}

struct DeclaredCase {
  const char* name;
  const char* text;
  const char* encoding;
};

class DeclaredEncoding : public testing::TestWithParam<DeclaredCase> {};

TEST_P(DeclaredEncoding, IsFound) {
  EXPECT_EQ(xml::FindDeclaredEncoding(Wide(GetParam().text)), Wide(GetParam().encoding));
}

const DeclaredCase kDeclaredCases[] = {
    {"XmlDeclaration", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r/>", "ISO-8859-1"},
    {"CaseIgnored", "<?XML VERSION='1.0' ENCODING = 'latin1' ?>", "latin1"},
    {"DeclarationWithoutEncoding",
     "<?xml version=\"1.0\"?><html><meta http-equiv=\"Content-Type\" content=\"charset=x\">", ""},
    {"DeclarationNotAtStart", " <?xml version='1.0' encoding='utf-8'?><r/>", ""},
    {"OtherPiAtStart", "<?xsl encoding='x'?><r/>", ""},
    {"MetaTag",
     "<html><head><title>t</title><meta http-equiv=\"content-type\" "
     "content=\"text/html; charset = windows-1251 \"></head>",
     "windows-1251"},
    {"MetaAfterDoctypeAndCapitals",
     "<!doctype html>\n<HTML><HEAD><META HTTP-EQUIV=\"Content-Type\" "
     "CONTENT=\"text/html; CHARSET=Shift_JIS\">",
     "Shift_JIS"},
    {"CharsetEndsAtSemicolon",
     "<html><meta http-equiv=\"Content-Type\" content=\"text/html;charset=koi8-r;x\">", "koi8-r"},
    {"OtherMetaSkipped",
     "<html><meta http-equiv=\"refresh\" content=\"charset=x\"><meta charset=\"z\">"
     "<meta http-equiv='Content-Type' content='charset=y'>",
     "y"},
    {"AfterHeadEnd", "<html><head></head><meta http-equiv=\"Content-Type\" content=\"charset=x\">",
     ""},
    {"FirstTagNotHtml", "<body><meta http-equiv=\"Content-Type\" content=\"charset=x\">", ""},
    {"NoCharsetWord", "<html><meta http-equiv=\"Content-Type\" content=\"text/html\">", ""},
    {"MalformedEndsSearch", "<html><1><meta http-equiv=\"Content-Type\" content=\"charset=x\">",
     ""},
    {"Nothing", "plain text", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, DeclaredEncoding, testing::ValuesIn(kDeclaredCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8Test, AcceptsSequencesAndRejectsBrokenOnes) {
  EXPECT_TRUE(xml::PassesUtf8Test(""));
  EXPECT_TRUE(xml::PassesUtf8Test("plain <ascii>"));
  EXPECT_TRUE(xml::PassesUtf8Test("\xC3\xA9"));
  EXPECT_TRUE(xml::PassesUtf8Test("\xE2\x82\xAC"));
  EXPECT_TRUE(xml::PassesUtf8Test("\xF0\x9F\x98\x80"));
  EXPECT_FALSE(xml::PassesUtf8Test("\xE9"));
  EXPECT_FALSE(xml::PassesUtf8Test("caf\xE9!"));
  EXPECT_FALSE(xml::PassesUtf8Test("\xC3"));
  EXPECT_FALSE(xml::PassesUtf8Test("\xE2\x82"));
  EXPECT_FALSE(xml::PassesUtf8Test("\xC3\x41"));
  EXPECT_FALSE(xml::PassesUtf8Test("\xF8\x88\x80\x80\x80"));
}

std::wstring Convert(std::string_view bytes, std::wstring_view encoding) {
  const auto length = static_cast<std::int32_t>(bytes.size());
  const std::int32_t count = xml::ConvertToUtf16(bytes.data(), length, encoding, nullptr, 0);
  std::wstring text(static_cast<std::size_t>(count), L'\0');
  const std::int32_t written =
      xml::ConvertToUtf16(bytes.data(), length, encoding, text.data(), count);
  EXPECT_EQ(written, count);
  return text;
}

TEST(ConvertToUtf16, CodePagesEveryBuildKnows) {
  EXPECT_EQ(Convert("a\xC3\xA9\xE2\x82\xAC", L"utf-8"), L"a\x00E9\x20AC");
  EXPECT_EQ(Convert("\xF0\x9F\x98\x80", L"UTF-8"), L"\xD83D\xDE00");
  EXPECT_EQ(Convert("caf\xE9", L"ISO-8859-1"), L"caf\x00E9");
  EXPECT_EQ(Convert("\x80\x9F\xE9", L"windows-1252"), L"\x20AC\x0178\x00E9");
  EXPECT_EQ(Convert("plain", L"us-ascii"), L"plain");
  EXPECT_EQ(Convert("", L"utf-8"), L"");
}

TEST(ConvertToUtf16, InvalidUtf8IsReplacedNotDropped) {
  const std::wstring text = Convert(
      "a\xFF"
      "b\xC3",
      L"utf-8");
  ASSERT_GE(text.size(), 3u) << Units(text);
  EXPECT_EQ(text.front(), L'a');
  EXPECT_NE(text.find(L'b'), std::wstring::npos);
  EXPECT_NE(text.find(static_cast<wchar_t>(0xFFFD)), std::wstring::npos) << Units(text);
}

TEST(ResultText, FormatEscapingAndNumbers) {
  std::wstring results;
  xml::AddResult(results, L"read", L"a\"<&>'", xml::kResultEncoding | xml::kResultLength, 12);
  xml::AddResult(results, L"bom", {}, 0);
  xml::AddResult(results, L"x", {}, xml::kResultOffset, -1, -1);
  xml::AddResult(results, L"y", {}, xml::kResultCount, -1);
  xml::AddResult(results, L"z", L"t", xml::kResultTagName | xml::kResultOffset, 5, 9);
  EXPECT_EQ(results,
            L"<read encoding=\"a&quot;&lt;&amp;&gt;&apos;\" length=\"12\"/><bom/><x/>"
            L"<y count=\"-1\"/><z tagname=\"t\" offset=\"5\" offset2=\"9\"/>");
}

TEST(ResultText, ModifyFormChangesTheFirstRecordOfThatName) {
  std::wstring results = L"<bom/><read encoding=\"\" length=\"5\"/><read encoding=\"x\"/>";
  xml::AddResult(results, L"read", L"UTF-8", xml::kResultEncoding | xml::kResultModify);
  EXPECT_EQ(results, L"<bom/><read encoding=\"UTF-8\" length=\"5\"/><read encoding=\"x\"/>");
  xml::AddResult(results, L"bom", {}, xml::kResultN | xml::kResultModify, 7);
  EXPECT_EQ(results.substr(0, 14), L"<bom n=\"7\"/><r");
  xml::AddResult(results, L"new", L"v", xml::kResultMsg | xml::kResultModify);
  EXPECT_EQ(results.substr(results.size() - 14), L"<new msg=\"v\"/>") << "appended when absent";
}

TEST(ResultText, NothingIsAppendedAtTheCap) {
  std::wstring results(999, L'.');
  xml::AddResult(results, L"first", {}, 0);
  EXPECT_EQ(results.size(), 999u + 8u);
  xml::AddResult(results, L"second", {}, 0);
  EXPECT_EQ(results.size(), 999u + 8u);
}

}  // namespace
