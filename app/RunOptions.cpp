#include "app/RunOptions.h"

InstallOptions& RunOptions() {
  static InstallOptions options;
  return options;
}
