// Text in the thread's ANSI code page, where switches and prerequisite names are matched.
#pragma once

#include <string>
#include <string_view>

namespace fw {

std::string ToThreadAnsi(std::wstring_view text);

}  // namespace fw
