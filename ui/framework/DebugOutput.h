// The one way diagnostics leave the program: lines for an attached debugger. There is no log file.
#pragma once

#include <string_view>

namespace fw {

void DebugOutput(std::wstring_view text) noexcept;

// printf-style; the text is cut at 4,096 characters.
void DebugOutputF(const wchar_t* format, ...) noexcept;

}  // namespace fw
