// Platform-neutral rules of the installation configuration: versions, decimal text, the string
// list, base languages, regions and local file names.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "config/BaseLanguage.h"
#include "config/DecimalText.h"
#include "config/LocalFileName.h"
#include "config/ProductVersion.h"
#include "config/Region.h"
#include "config/Table.h"

namespace {

TEST(DecimalText, ReadsLeadingNumber) {
  struct Case {
    const wchar_t* text;
    std::int32_t expected;
  } cases[] = {
      {L"1031", 1031},
      {L"  \t1036", 1036},
      {L"+7", 7},
      {L"-12x", -12},
      {L"1040abc", 1040},
      {L"abc", 0},
      {L"", 0},
      {L" - 5", 0},
      {L"12 34", 12},
      {L"0x10", 0},
      {L"99999999999", std::numeric_limits<std::int32_t>::max()},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDecimalInt32(c.text), c.expected) << c.text;
}

TEST(ProductVersion, ParsesFourNumbers) {
  struct Case {
    const wchar_t* text;
    ProductVersion expected;
  } cases[] = {
      {L"28.0.5.101", {28, 0, 5, 101}},
      {L"1.0.0.0", {1, 0, 0, 0}},    // exactly seven characters
      {L"1.0.0.", {0, 0, 0, 0}},     // shorter than seven
      {L"1..0.0.0", {1, 0, 0, 0}},   // empty parts are skipped
      {L"28.0.1", {0, 0, 0, 0}},     // three parts
      {L"1.2.3.4.5", {0, 0, 0, 0}},  // five parts
      {L"10.20.30.4x", {10, 20, 30, 4}},
      {L"a.b.c.d.e", {0, 0, 0, 0}},
      {L"ab.cd.ef.gh", {0, 0, 0, 0}},
      {L".1.2.3.4.", {1, 2, 3, 4}},
      {L"4294967295.0.0.1", {4294967295u, 0, 0, 1}},
  };
  for (const auto& c : cases) EXPECT_EQ(ProductVersion::Parse(c.text), c.expected) << c.text;
}

TEST(ProductVersion, PatchRule) {
  struct Case {
    const wchar_t* base;
    const wchar_t* candidate;
    bool patch;
  } cases[] = {
      {L"28.0.0.100", L"28.0.5.101", true},
      {L"28.0.0.100", L"28.1.0.100", false},  // revision not higher
      {L"28.0.0.100", L"29.0.0.200", false},  // other major
      {L"28.2.0.10", L"28.1.0.11", false},    // minor lower
      {L"28.2.0.10", L"28.3.0.11", true},     // minor higher
      {L"28.0.9.10", L"28.0.1.11", true},     // build plays no part
      {L"28.0.0.100", L"28.0.0.99", false},
      {L"", L"0.0.0.1", true},                     // an unreadable base is 0.0.0.0
      {L"", L"0.0.1", false},                      // and so is a candidate of three parts
      {L"28.0.0.4294967295", L"28.0.0.1", false},  // unsigned comparison
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsPatchVersion(c.base, c.candidate), c.patch) << c.base << L" -> " << c.candidate;
}

TEST(Table, GrowsByStepsAndKeepsOrder) {
  Table table;
  EXPECT_EQ(table.Capacity(), 32);
  std::vector<int> capacities;
  for (int i = 0; i < 100; ++i) {
    table.Append(L"key" + std::to_wstring(i));
    if (capacities.empty() || capacities.back() != table.Capacity())
      capacities.push_back(table.Capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{32, 96, 160}));
  ASSERT_EQ(table.Count(), 100);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(table[i], L"key" + std::to_wstring(i));
}

TEST(Table, StoresItsOwnCopy) {
  Table table;
  std::wstring text = L"1031";
  table.Append(text);
  text[0] = L'9';
  EXPECT_EQ(table[0], L"1031");
}

TEST(BaseLanguage, BySuffixOfProductId) {
  struct Case {
    const wchar_t* productId;
    const wchar_t* name;
    std::int32_t id;
    bool edition;
  } cases[] = {
      {L"PK280DE", L"German", 1031, true},
      {L"PK280fr", L"French", 1036, true},
      {L"PK280ZA", L"Chinese (Simplified)", 2052, true},
      {L"PK280zh", L"Chinese (Traditional)", 1028, true},
      {L"PK280JA", L"Japanese", 1041, true},
      {L"PK280It", L"Italian", 1040, true},
      {L"PK280ES", L"Spanish", 1034, true},
      {L"PK280EN", L"English", 1033, false},
      {L"PK280", L"English", 1033, false},
      {L"de", L"German", 1031, true},  // shorter ids use the whole id
      {L"E", L"English", 1033, false},
      {L"", L"English", 1033, false},
  };
  for (const auto& c : cases) {
    const BaseLanguage base = BaseLanguageForProductId(c.productId);
    EXPECT_EQ(base.displayName, c.name) << c.productId;
    EXPECT_EQ(base.languageId, c.id) << c.productId;
    EXPECT_EQ(base.languageEdition, c.edition) << c.productId;
  }
}

TEST(InitialLanguage, ChoiceRules) {
  const std::vector<LanguageEntry> international = {{L"English", 1033}, {L"Deutsch", 1031}};
  const std::vector<LanguageEntry> chinese = {{L"Chinese (Simplified)", 2052}};
  const std::vector<LanguageEntry> duplicate = {{L"German", 1031}, {L"Deutsch", 1031}};
  const BaseLanguage english = BaseLanguageForProductId(L"PK280EN");
  const BaseLanguage za = BaseLanguageForProductId(L"PK280ZA");
  const BaseLanguage de = BaseLanguageForProductId(L"PK280DE");
  struct Case {
    const char* what;
    const std::vector<LanguageEntry>* list;
    BaseLanguage base;
    const wchar_t* argument;
    std::int32_t system;
    std::optional<std::int32_t> expected;
  } cases[] = {
      {"edition wins over system", &chinese, za, L"", 1031, 2052},
      {"international edition takes listed system language", &international, english, L"", 1031,
       1031},
      {"unlisted system language keeps the default", &chinese, english, L"", 1031, std::nullopt},
      {"lang switch", &international, english, L"1031", 1036, 1031},
      {"lang switch not listed", &international, english, L"1040", 1031, std::nullopt},
      {"lang switch not a number tries system", &international, english, L"abc", 1031, 1031},
      {"lang switch zero tries system", &international, english, L"0", 1033, 1033},
      {"lang switch beats edition", &duplicate, de, L"1036", 1036, std::nullopt},
      {"edition language listed twice", &duplicate, de, L"", 1033, 1031},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChooseInitialLanguage(*c.list, c.base, c.argument, c.system), c.expected) << c.what;
}

TEST(ConsentRegions, ThirtyListedIds) {
  const std::vector<int> listed = {122, 39,  14,  21,  35,  108, 59,  75,  61,  70,
                                   77,  84,  94,  98,  109, 68,  118, 140, 141, 242,
                                   147, 163, 176, 191, 193, 200, 143, 212, 217, 221};
  int count = 0;
  for (int id = -1; id < 400; ++id) {
    const bool expected = std::find(listed.begin(), listed.end(), id) != listed.end();
    EXPECT_EQ(IsConsentRegion(id), expected) << id;
    count += IsConsentRegion(id) ? 1 : 0;
  }
  EXPECT_EQ(count, 30);
  EXPECT_FALSE(IsConsentRegion(244));  // United States
}

TEST(LocalFileName, PlainNamesOnly) {
  struct Case {
    const wchar_t* name;
    bool plain;
  } cases[] = {
      {L"PictovaKest.msi", true},
      {L"vc_redist.x64.exe", true},
      {L"..hidden.exe", true},
      {L"", false},
      {L".", false},
      {L"..", false},
      {L"...", false},
      {L". .", false},
      {L"..\\evil.exe", false},
      {L"../evil.exe", false},
      {L"sub\\a.exe", false},
      {L"C:evil.exe", false},
      {L"C:\\Windows\\evil.exe", false},
      {L"\\\\server\\share\\a.msi", false},
      {L"a.msi:stream", false},
      {L"a*.msi", false},
      {L"a\tb.msi", false},
      {L"NUL", false},
      {L"con.exe", false},
      {L"COM1.msi", false},
      {L"com\u00B9.msi", false},
      {L"LPT\u00B3", false},
      {L"lpt9", false},
      {L"COM0.msi", true},
      {L"console.exe", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsPlainFileName(c.name), c.plain) << c.name;
}

TEST(LocalFileName, TickPrefixUnlessStandalone) {
  EXPECT_EQ(ComponentFileName(L"D:\\i\\component\\", L"webview2.exe", false, 4711),
            L"D:\\i\\component\\4711webview2.exe");
  EXPECT_EQ(ComponentFileName(L"D:\\i\\component\\", L"webview2.exe", true, 4711),
            L"D:\\i\\component\\webview2.exe");
  // Past 2^31 milliseconds of uptime the tick is written as a negative number.
  EXPECT_EQ(ComponentFileName(L"F\\", L"x.exe", false, 0x80000000u), L"F\\-2147483648x.exe");
  EXPECT_EQ(ComponentFileName(L"F\\", L"x.exe", false, 0xFFFFFFFFu), L"F\\-1x.exe");
  EXPECT_EQ(LanguagePackFileName(1031), L"language_pack_1031.exe");
}

}  // namespace
