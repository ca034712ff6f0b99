#include "ui/theme/DpiMath.h"

double BucketedScaleFactor(int dpi) noexcept {
  const double ratio = static_cast<double>(dpi) / 96.0;
  if (ratio < 1.25) return 1.0;
  if (ratio < 1.5) return 1.25;
  if (ratio < 2.0) return 1.5;
  return 2.0;
}

int BucketedScale(int length, int dpi) noexcept {
  return static_cast<int>(BucketedScaleFactor(dpi) * length);
}

int ExactScale(int length, int dpi) noexcept {
  return static_cast<int>(static_cast<float>(dpi) * static_cast<float>(length) / 96.0f);
}

int DpiBucket(int dpi) noexcept {
  if (dpi < 120) return dpi;
  if (dpi < 144) return 120;
  if (dpi < 192) return 144;
  return 192;
}
