// The process's one set of run options. The application object owns them; everything else
// reads them through this accessor (and only start-up and installed-product detection write).
#pragma once

#include "app/InstallOptions.h"

InstallOptions& RunOptions();
