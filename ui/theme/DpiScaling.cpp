#include "ui/theme/DpiScaling.h"

#include <windows.h>

#include "ui/theme/DpiMath.h"

namespace {

struct DpiCache {
  int horizontal = 96;
  int vertical = 96;
  bool read = false;
};

DpiCache& Cache() {
  static DpiCache cache;
  return cache;
}

}  // namespace

void EnsureDpiCached() {
  DpiCache& cache = Cache();
  if (cache.read) return;
  cache.read = true;
  if (HDC screen = ::GetDC(nullptr)) {
    cache.horizontal = ::GetDeviceCaps(screen, LOGPIXELSX);
    cache.vertical = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
  }
}

double DpiScaleFactor(int dpi) {
  EnsureDpiCached();
  return BucketedScaleFactor(dpi);
}

int ScaleX(int length) {
  EnsureDpiCached();
  return BucketedScale(length, Cache().horizontal);
}

int ScaleY(int length) {
  EnsureDpiCached();
  return BucketedScale(length, Cache().vertical);
}

int ExactScaleX(int length) {
  EnsureDpiCached();
  return ExactScale(length, Cache().horizontal);
}

int ImageDpiBucket() {
  EnsureDpiCached();
  return DpiBucket(Cache().vertical);
}
