// The DPI cache against the screen of the test display.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/theme/DpiMath.h"
#include "ui/theme/DpiScaling.h"

namespace {

TEST(DpiScaling, UsesTheScreenDpiReadOnce) {
  HDC screen = ::GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  const int x = ::GetDeviceCaps(screen, LOGPIXELSX);
  const int y = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);

  EnsureDpiCached();
  for (const int length : {0, 1, 4, 28, 284}) {
    EXPECT_EQ(ScaleX(length), BucketedScale(length, x)) << length;
    EXPECT_EQ(ScaleY(length), BucketedScale(length, y)) << length;
    EXPECT_EQ(ExactScaleX(length), ExactScale(length, x)) << length;
  }
  EXPECT_EQ(ImageDpiBucket(), DpiBucket(y));
  EXPECT_DOUBLE_EQ(DpiScaleFactor(144), 1.5);
}

}  // namespace
