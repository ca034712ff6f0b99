// Picks the product's web address out of the installer's log: the server-side property line
// "Property(S): InstallHomepageURL = <address>".
#pragma once

#include <optional>
#include <string>
#include <string_view>

std::optional<std::wstring> ParseHomepageLogLine(std::wstring_view line);
