#include "config/InstallConfig.h"

InstallConfig& Configuration() {
  static InstallConfig config;
  return config;
}
