#include <gtest/gtest.h>

#include <cmath>

#include "imaging/operations/color_ops.h"
#include "imaging/operations/hsl_adjust.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

using testing::Gradient;
using testing::Solid;

TEST(GreyValue, UsesTheWeightedIntegerFormula) {
  EXPECT_EQ(GreyOf(255, 255, 255), 255);
  EXPECT_EQ(GreyOf(100, 0, 0), 21);
  EXPECT_EQ(GreyOf(0, 0, 99), 7);  // 792 div 100
  TPictureBitmap pic = Solid(2, 2, MakeColor(10, 200, 30));
  TProgress none;
  GrayPixels(pic, none);
  const int g = (10 * 21 + 200 * 71 + 30 * 8) / 100;
  EXPECT_EQ(pic.Pixel(1, 1), MakeColor(std::uint8_t(g), std::uint8_t(g), std::uint8_t(g)));
}

TEST(Negative, InvertsBothFormats) {
  TProgress none;
  TPictureBitmap pic = Solid(3, 1, MakeColor(0, 100, 255));
  NegatePixels(pic, none);
  EXPECT_EQ(pic.Pixel(2, 0), MakeColor(255, 155, 0));
  TPictureBitmap mono(9, 2, PixelFormat::Mono1);
  mono.SetPixel(8, 1, kWhite);
  NegatePixels(mono, none);
  EXPECT_EQ(mono.Pixel(8, 1), kBlack);
  EXPECT_EQ(mono.Pixel(0, 0), kWhite);
}

TEST(Contrast, FactorFollowsTheFormula) {
  EXPECT_EQ(ContrastFactor(0), 65536);
  EXPECT_EQ(ContrastFactor(2), std::llround(1.2 * 65536));
  EXPECT_EQ(ContrastFactor(-4), std::llround(0.8 * 65536));
  EXPECT_EQ(ContrastFactor(-100), 0);
}

TEST(Contrast, StretchesAroundTheMeansAndClamps) {
  TProgress none;
  TPictureBitmap pic(2, 1);
  pic.SetPixel(0, 0, MakeColor(100, 0, 50));
  pic.SetPixel(1, 0, MakeColor(200, 255, 50));
  const TChannelMeans m = ChannelMeans(pic);
  EXPECT_EQ(m.red, 150);
  EXPECT_EQ(m.green, 127);
  ContrastPixels(pic, 2, m, none);
  const std::int64_t f = ContrastFactor(2);
  // 150 + f * (100 - 150) div 65536, truncated toward zero.
  EXPECT_EQ(RedOf(pic.Pixel(0, 0)), 150 + int(f * -50 / 65536));
  EXPECT_EQ(RedOf(pic.Pixel(1, 0)), 150 + int(f * 50 / 65536));
  EXPECT_EQ(GreenOf(pic.Pixel(1, 0)), 255);  // clamped
  EXPECT_EQ(BlueOf(pic.Pixel(0, 0)), 50);    // equal to its mean: unchanged
}

TEST(ChannelOffsets, ClampAtBothEnds) {
  TProgress none;
  TPictureBitmap pic = Solid(2, 2, MakeColor(250, 5, 128));
  AddToChannels(pic, 10, -10, 1000, none);
  EXPECT_EQ(pic.Pixel(0, 0), MakeColor(255, 0, 255));
}

TEST(ColorReplacement, CastRangeIsInclusivePerChannelAndSwapIsMutual) {
  TProgress none;
  TPictureBitmap pic(4, 1);
  pic.SetPixel(0, 0, MakeColor(10, 20, 30));
  pic.SetPixel(1, 0, MakeColor(12, 22, 32));
  pic.SetPixel(2, 0, MakeColor(13, 20, 30));
  pic.SetPixel(3, 0, MakeColor(1, 2, 3));
  CastColorRangePixels(pic, MakeColor(12, 22, 32), MakeColor(10, 20, 30), MakeColor(9, 9, 9), none);
  EXPECT_EQ(pic.Pixel(0, 0), MakeColor(9, 9, 9));
  EXPECT_EQ(pic.Pixel(1, 0), MakeColor(9, 9, 9));
  EXPECT_EQ(pic.Pixel(2, 0), MakeColor(13, 20, 30));

  SwapColorPixels(pic, MakeColor(9, 9, 9), MakeColor(1, 2, 3), none);
  EXPECT_EQ(pic.Pixel(0, 0), MakeColor(1, 2, 3));
  EXPECT_EQ(pic.Pixel(3, 0), MakeColor(9, 9, 9));
}

TEST(Hsl, ZeroChangeKeepsEveryColour) {
  TProgress none;
  const TPictureBitmap before = Gradient(64, 64);
  TPictureBitmap pic = before;
  AdjustHsl(pic, 0, 0, 0, none);
  EXPECT_EQ(pic, before);
  AdjustHsl(pic, 360, 0, 0, none);  // a whole turn of hue
  EXPECT_EQ(pic, before);
}

TEST(Hsl, ChangesMoveTheRightQuantity) {
  TProgress none;
  TPictureBitmap red = Solid(1, 1, MakeColor(255, 0, 0));
  AdjustHsl(red, 120, 0, 0, none);
  EXPECT_EQ(red.Pixel(0, 0), MakeColor(0, 255, 0));
  TPictureBitmap grey = Solid(1, 1, MakeColor(128, 128, 128));
  AdjustHsl(grey, 0, 0, 100, none);
  EXPECT_EQ(grey.Pixel(0, 0), kWhite);
  TPictureBitmap pink = Solid(1, 1, MakeColor(200, 100, 100));
  AdjustHsl(pink, 0, -100, 0, none);
  const TColor c = pink.Pixel(0, 0);
  EXPECT_EQ(RedOf(c), GreenOf(c));
  EXPECT_EQ(GreenOf(c), BlueOf(c));
}

}  // namespace
}  // namespace vistrel
