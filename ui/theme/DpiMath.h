// The arithmetic that turns lengths designed for 96 DPI into screen pixels. Scaling uses four
// buckets (1.0, 1.25, 1.5, 2.0) so that layouts only meet a few known sizes.
#pragma once

// Bucketed factor of one DPI value; never above 2.0.
double BucketedScaleFactor(int dpi) noexcept;

// Truncation toward zero of the bucketed factor times the length.
int BucketedScale(int length, int dpi) noexcept;

// Truncation of dpi * length / 96 in single precision.
int ExactScale(int length, int dpi) noexcept;

// The DPI itself below 120, else 120, 144 or 192.
int DpiBucket(int dpi) noexcept;
