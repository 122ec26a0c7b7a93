// Per-pixel colour operations on 24-bit pictures. Each leaves 1-bit
// pictures alone unless it says otherwise.
#pragma once

#include "imaging/operations/progress.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

// Grey value of a colour: (21 R + 71 G + 8 B) div 100.
constexpr int GreyOf(int r, int g, int b) { return (r * 21 + g * 71 + b * 8) / 100; }

// Every pixel becomes its grey value.
void GrayPixels(TPictureBitmap& picture, TProgress& progress);
// 24-bit: each channel v becomes 255 - v; 1-bit: every bit flips.
void NegatePixels(TPictureBitmap& picture, TProgress& progress);
// Adds to each channel, clamped to 0..255.
void AddToChannels(TPictureBitmap& picture, int red, int green, int blue, TProgress& progress);
// Pixels whose channels each lie between those of `begin` and `end`
// (inclusive, either order) take the colour `cast`.
void CastColorRangePixels(TPictureBitmap& picture, TColor begin, TColor end, TColor cast, TProgress& progress);
// Exchanges two colours.
void SwapColorPixels(TPictureBitmap& picture, TColor first, TColor second, TProgress& progress);

// Channel averages (sum div pixel count); zero for an empty picture.
struct TChannelMeans {
  int red = 0;
  int green = 0;
  int blue = 0;
};
TChannelMeans ChannelMeans(const TPictureBitmap& picture);

// Contrast factor in 1/65536 units: round((amount/10 + 1) * 65536) for
// amount >= 0, round((1 - sqrt(-amount)/10) * 65536) below.
std::int64_t ContrastFactor(int amount);
// Each channel v becomes clamp(m + f * (v - m) div 65536) around the means.
void ContrastPixels(TPictureBitmap& picture, int amount, const TChannelMeans& means, TProgress& progress);

}  // namespace vistrel
