// Screen DPI, read once per process on the user-interface thread, and the scaling of 96-DPI
// lengths with it. A later change of the display scale does not change any result.
#pragma once

// Reads the screen's logical DPI the first time; 96 x 96 when the screen cannot be asked.
void EnsureDpiCached();

double DpiScaleFactor(int dpi);
int ScaleX(int length);
int ScaleY(int length);
int ExactScaleX(int length);

// Bucket of the vertical DPI that chooses an image variant.
int ImageDpiBucket();
