// The registry wrapper against Wine's real registry, under a scratch key that is removed again.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "config/RegistryKey.h"
#include "config/Table.h"

namespace {

class RegistryKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = L"Software\\KestTests\\RegistryKey-" + std::to_wstring(::GetCurrentProcessId());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
  }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str()); }

  bool KeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return false;
    ::RegCloseKey(key);
    return true;
  }

  std::wstring base_;
};

TEST_F(RegistryKeyTest, OpeningCreatesMissingKeyWithParents) {
  const std::wstring path = base_ + L"\\a\\b";
  ASSERT_FALSE(KeyExists(path));
  RegistryKey key(HKEY_CURRENT_USER, path);
  EXPECT_TRUE(key.IsWritable());
  EXPECT_TRUE(KeyExists(path));
  EXPECT_FALSE(key.QueryString(L"anything").has_value());
}

TEST_F(RegistryKeyTest, StringRoundTrip) {
  {
    RegistryKey key(HKEY_CURRENT_USER, base_);
    EXPECT_EQ(key.SetString(L"exe", L"C:\\Program Files\\QOR Systems\\Kest.exe"), ERROR_SUCCESS);
    EXPECT_EQ(key.SetString(L"empty", L""), ERROR_SUCCESS);
  }
  const RegistryKey key(HKEY_CURRENT_USER, base_);
  EXPECT_EQ(key.QueryString(L"exe"), std::wstring(L"C:\\Program Files\\QOR Systems\\Kest.exe"));
  EXPECT_EQ(key.QueryString(L"empty"), std::wstring());

  // Stored with its terminating NUL.
  DWORD type = 0, bytes = 0;
  ASSERT_EQ(::RegQueryValueExW(key.ReadHandle(), L"exe", nullptr, &type, nullptr, &bytes),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(bytes, (wcslen(L"C:\\Program Files\\QOR Systems\\Kest.exe") + 1) * 2);
}

TEST_F(RegistryKeyTest, NumberValueReadAsItsBytes) {
  RegistryKey key(HKEY_CURRENT_USER, base_);
  const DWORD number = 0x00420041;  // 'A', 'B' as UTF-16 units
  ASSERT_EQ(::RegSetValueExW(key.ReadHandle(), L"InitialLangID", 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&number), sizeof(number)),
            ERROR_SUCCESS);
  EXPECT_EQ(key.QueryString(L"InitialLangID"), std::wstring(L"AB"));

  const DWORD english = 1033;  // 0x0409: one unit, then a NUL unit ends the text
  ASSERT_EQ(::RegSetValueExW(key.ReadHandle(), L"Lang", 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&english), sizeof(english)),
            ERROR_SUCCESS);
  EXPECT_EQ(key.QueryString(L"Lang"), std::wstring(1, wchar_t{0x0409}));

  // Text without a terminating NUL ends with the data.
  const wchar_t raw[] = {L'x', L'y', L'z'};
  ASSERT_EQ(::RegSetValueExW(key.ReadHandle(), L"Raw", 0, REG_BINARY,
                             reinterpret_cast<const BYTE*>(raw), sizeof(raw)),
            ERROR_SUCCESS);
  EXPECT_EQ(key.QueryString(L"Raw"), std::wstring(L"xyz"));
}

TEST_F(RegistryKeyTest, HundredSubkeysInIndexOrder) {
  {
    RegistryKey parent(HKEY_CURRENT_USER, base_);
    for (int i = 0; i < 100; ++i) {
      wchar_t name[16];
      swprintf(name, 16, L"%03d", i);
      RegistryKey child(HKEY_CURRENT_USER, base_ + L"\\" + name);
      ASSERT_TRUE(child.IsWritable());
    }
  }
  const RegistryKey key(HKEY_CURRENT_USER, base_);
  Table names;
  key.EnumerateSubkeys(names);
  ASSERT_EQ(names.Count(), 100);
  EXPECT_EQ(names.Capacity(), 160);  // 32, then 96, then 160 slots
  for (int i = 0; i < 100; ++i) {
    wchar_t name[16];
    swprintf(name, 16, L"%03d", i);
    EXPECT_EQ(names[i], name);
  }
}

TEST_F(RegistryKeyTest, UnopenableKeyReportsFailureEverywhere) {
  // A volatile key cannot hold a non-volatile child, and the child does not exist to be opened.
  HKEY isVolatile = nullptr;
  const std::wstring volatilePath = base_ + L"\\volatile";
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, volatilePath.c_str(), 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &isVolatile, nullptr),
            ERROR_SUCCESS);
  ::RegCloseKey(isVolatile);
  RegistryKey key(HKEY_CURRENT_USER, volatilePath + L"\\child");
  EXPECT_EQ(key.ReadHandle(), nullptr);
  EXPECT_FALSE(key.QueryString(L"v").has_value());
  EXPECT_EQ(key.SetString(L"v", L"x"), 1013);
  Table names;
  key.EnumerateSubkeys(names);
  EXPECT_EQ(names.Count(), 0);
}

}  // namespace
