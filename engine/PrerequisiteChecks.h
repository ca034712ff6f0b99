// Prerequisites that may already be on the machine, by file name (matched exactly, in the
// thread's ANSI code page). A name not in the table counts as not present.
#pragma once

#include <string_view>

// Nonzero when the named prerequisite is already present.
int IsPrerequisitePresent(std::wstring_view name);
