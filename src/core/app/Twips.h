#pragma once

// Sizes and thresholds of the windows are kept in twips (1/1440 inch); the screen works
// in pixels at its logical resolution.
constexpr int kTwipsPerInch = 1440;

int TwipsToPixels(int twips, double dotsPerInch);
int PixelsToTwips(int pixels, double dotsPerInch);
