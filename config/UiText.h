// The text of a UI string in the current language of the process's configuration.
#pragma once

#include <string>

#include "config/InstallConfig.h"
#include "text/UiStrings.h"

inline std::wstring UiText(const UiString& text) {
  return Configuration().uiStrings.GetUiString(text);
}

inline std::wstring UiLink(const UiString& link) {
  return Configuration().uiStrings.GetLink(link);
}
