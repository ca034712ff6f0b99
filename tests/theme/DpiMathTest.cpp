#include <gtest/gtest.h>

#include "ui/theme/DpiMath.h"

namespace {

TEST(DpiMath, BucketedScaling) {
  struct Case {
    int dpi;
    int length;
    int scaled;
  } cases[] = {
      {96, 28, 28},  {96, 1, 1},    {110, 28, 28},  // factor 1.0 below 120
      {119, 10, 10}, {120, 28, 35}, {120, 1, 1},   {143, 4, 5},   {144, 28, 42}, {191, 10, 15},
      {192, 1, 2},   {240, 10, 20}, {288, 10, 20}, {120, -3, -3},  // truncation toward zero
      {72, 10, 10},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BucketedScale(c.length, c.dpi), c.scaled) << c.dpi << " dpi, " << c.length;
  EXPECT_DOUBLE_EQ(BucketedScaleFactor(240), 2.0);
}

TEST(DpiMath, ExactScaling) {
  EXPECT_EQ(ExactScale(4, 144), 6);
  EXPECT_EQ(ExactScale(4, 96), 4);
  EXPECT_EQ(ExactScale(3, 120), 3);  // 3.75 truncated
  EXPECT_EQ(ExactScale(10, 110), 11);
}

TEST(DpiMath, ImageBucket) {
  struct Case {
    int dpi;
    int bucket;
  } cases[] = {{72, 72},   {96, 96},   {110, 110}, {119, 119}, {120, 120},
               {143, 120}, {144, 144}, {191, 144}, {192, 192}, {288, 192}};
  for (const auto& c : cases) EXPECT_EQ(DpiBucket(c.dpi), c.bucket) << c.dpi;
}

}  // namespace
