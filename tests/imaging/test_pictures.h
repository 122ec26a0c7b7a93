// Small pictures the engine tests share.
#pragma once

#include "imaging/picture_bitmap.h"

namespace vistrel::testing {

inline TPictureBitmap Solid(int w, int h, TColor c) {
  TPictureBitmap b(w, h);
  b.Fill(c);
  return b;
}

// Every pixel a different, smoothly varying colour, like a photograph.
inline TPictureBitmap Gradient(int w, int h) {
  TPictureBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixel(x, y, MakeColor(std::uint8_t(x * 255 / (w > 1 ? w - 1 : 1)),
                                 std::uint8_t(y * 255 / (h > 1 ? h - 1 : 1)), std::uint8_t((x * 7 + y * 13) & 255)));
  return b;
}

// A 3 x 2 picture with distinct corners: red top-left, green top-right,
// blue bottom-left, white bottom-right.
inline TPictureBitmap Corners() {
  TPictureBitmap pic = Solid(3, 2, kBlack);
  pic.SetPixel(0, 0, MakeColor(255, 0, 0));
  pic.SetPixel(2, 0, MakeColor(0, 255, 0));
  pic.SetPixel(0, 1, MakeColor(0, 0, 255));
  pic.SetPixel(2, 1, kWhite);
  return pic;
}

}  // namespace vistrel::testing
