// Fills the numbers into a translated text such as "%02d mins %02d secs remaining...".
// Translations come from files anyone can edit, so the text is never handed to printf: only
// "%d", "%Nd" and "%0Nd" take the next number, "%%" is a percent sign, and everything else
// stays as written. Missing numbers count as 0.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

std::wstring FormatNumbers(std::wstring_view text, std::initializer_list<long long> numbers);

// Replaces every "%s" with the value ("%s is ready").
std::wstring ReplaceText(std::wstring_view text, std::wstring_view value);
