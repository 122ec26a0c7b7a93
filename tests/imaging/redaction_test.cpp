// Pixelate and blur: exact block means, a blur that matches the textbook
// Gaussian to within rounding, and nothing left of the original where they
// ran.
#include <gtest/gtest.h>

#include <cmath>

#include "imaging/operations/redaction.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

using testing::Gradient;
using testing::Solid;

TEST(Pixelate, EveryBlockHoldsItsRoundedMeanEdgeBlocksIncluded) {
  const TPictureBitmap original = Gradient(21, 13);
  for (int block : {2, 5, 8, 30}) {
    TPictureBitmap picture = original;
    TProgress progress;
    PixelatePicture(picture, block, progress);
    for (int top = 0; top < 13; top += block)
      for (int left = 0; left < 21; left += block) {
        const int right = std::min(21, left + block), bottom = std::min(13, top + block);
        int sum[3] = {0, 0, 0};
        for (int y = top; y < bottom; ++y)
          for (int x = left; x < right; ++x) {
            const TColor c = original.Pixel(x, y);
            sum[0] += RedOf(c), sum[1] += GreenOf(c), sum[2] += BlueOf(c);
          }
        const int n = (right - left) * (bottom - top);
        const TColor mean = MakeColor(std::uint8_t((sum[0] + n / 2) / n),
                                      std::uint8_t((sum[1] + n / 2) / n),
                                      std::uint8_t((sum[2] + n / 2) / n));
        for (int y = top; y < bottom; ++y)
          for (int x = left; x < right; ++x)
            ASSERT_EQ(picture.Pixel(x, y), mean) << block << " at " << x << "," << y;
      }
  }
  TPictureBitmap same = original;
  TProgress progress;
  PixelatePicture(same, 1, progress);
  EXPECT_TRUE(same == original);
}

// The Gaussian in doubles, edges extended, for comparison.
double ReferenceBlur(const TPictureBitmap& picture, int x, int y, int channel, double sigma) {
  const int r = int(std::ceil(3 * sigma));
  double total = 0, weight = 0;
  for (int dy = -r; dy <= r; ++dy)
    for (int dx = -r; dx <= r; ++dx) {
      const double w = std::exp(-0.5 * (dx * dx + dy * dy) / (sigma * sigma));
      const TColor c = picture.Pixel(std::clamp(x + dx, 0, picture.Width() - 1),
                                     std::clamp(y + dy, 0, picture.Height() - 1));
      total += w * (channel == 0 ? RedOf(c) : channel == 1 ? GreenOf(c) : BlueOf(c));
      weight += w;
    }
  return total / weight;
}

TEST(GaussianBlur, MatchesTheGaussianKeepsFlatAreasAndHidesDetail) {
  TPictureBitmap original = Gradient(40, 30);
  for (int y = 10; y < 20; ++y)  // a sharp bar, as text would be
    for (int x = 5; x < 35; x += 3) original.SetPixel(x, y, kWhite);
  for (double sigma : {0.8, 3.0, 5.5}) {
    TPictureBitmap picture = original;
    TProgress progress;
    GaussianBlur(picture, sigma, progress);
    for (int y = 0; y < 30; y += 3)
      for (int x = 0; x < 40; x += 3) {
        const TColor c = picture.Pixel(x, y);
        const int got[3] = {RedOf(c), GreenOf(c), BlueOf(c)};
        for (int ch = 0; ch < 3; ++ch)
          ASSERT_NEAR(got[ch], ReferenceBlur(original, x, y, ch, sigma), 1.6)
              << "sigma " << sigma << " at " << x << "," << y << " channel " << ch;
      }
  }
  TPictureBitmap flat = Solid(17, 9, MakeColor(7, 200, 129));
  TProgress progress;
  GaussianBlur(flat, 4, progress);
  EXPECT_TRUE(flat == Solid(17, 9, MakeColor(7, 200, 129)));
  TPictureBitmap mono(8, 8, PixelFormat::Mono1);
  mono.SetPixel(3, 3, kWhite);
  const TPictureBitmap mono_before = mono;
  GaussianBlur(mono, 3, progress);
  PixelatePicture(mono, 4, progress);
  EXPECT_TRUE(mono == mono_before);
}

}  // namespace
}  // namespace vistrel
