#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "imaging/operations/convolution.h"
#include "imaging/operations/flip_canvas.h"
#include "imaging/operations/resample.h"
#include "imaging/operations/rotate.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

using testing::Corners;
using testing::Gradient;
using testing::Solid;

TEST(Rotate, PlusNinetyTurnsCounterClockwise) {
  TProgress none;
  const TPictureBitmap out = RotatePicture(Corners(), 90, true, kWhite, none);
  ASSERT_EQ(out.Width(), 2);
  ASSERT_EQ(out.Height(), 3);
  // The top row becomes the left column read bottom to top.
  EXPECT_EQ(out.Pixel(0, 2), MakeColor(255, 0, 0));
  EXPECT_EQ(out.Pixel(0, 0), MakeColor(0, 255, 0));
  EXPECT_EQ(out.Pixel(1, 2), MakeColor(0, 0, 255));
  EXPECT_EQ(out.Pixel(1, 0), kWhite);
}

TEST(Rotate, QuarterTurnsAreExactAndCombine) {
  TProgress none;
  const TPictureBitmap pic = Gradient(37, 21);
  EXPECT_EQ(RotatePicture(pic, -90, false, kWhite, none), RotateQuarter(pic, false));
  EXPECT_EQ(RotatePicture(pic, 270, true, kWhite, none), RotateQuarter(pic, false));
  EXPECT_EQ(RotatePicture(pic, 180, true, kWhite, none), RotateHalf(pic));
  EXPECT_EQ(RotatePicture(pic, 360, true, kWhite, none), pic);
  EXPECT_EQ(RotatePicture(RotatePicture(pic, 90, true, kWhite, none), -90, true, kWhite, none), pic);
}

TEST(Rotate, FortyFiveDegreesGrowsAndFillsCornersWithBackground) {
  TProgress none;
  const TPictureBitmap out = RotatePicture(Solid(100, 50, MakeColor(0, 0, 200)), 45, true, kWhite, none);
  EXPECT_EQ(out.Width(), 107);  // ceil(150 / sqrt 2)
  EXPECT_EQ(out.Height(), 107);
  EXPECT_EQ(out.Pixel(0, 0), kWhite);
  EXPECT_EQ(out.Pixel(106, 0), kWhite);
  EXPECT_EQ(out.Pixel(0, 106), kWhite);
  EXPECT_EQ(out.Pixel(106, 106), kWhite);
  EXPECT_EQ(out.Pixel(53, 53), MakeColor(0, 0, 200));
}

TEST(Rotate, SmallAngleMovesContentCounterClockwise) {
  TProgress none;
  // A black dot right of the centre rises when turned counter-clockwise.
  TPictureBitmap pic = Solid(41, 41, kWhite);
  pic.SetPixel(35, 20, kBlack);
  const TPictureBitmap out = RotatePicture(pic, 30, false, kWhite, none);
  int dark_x = -1, dark_y = -1;
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x)
      if (out.Pixel(x, y) == kBlack) dark_x = x, dark_y = y;
  ASSERT_GE(dark_x, 0);
  const double cx = out.Width() / 2.0, cy = out.Height() / 2.0;
  EXPECT_NEAR(dark_x + 0.5 - cx, 15.5 * std::cos(std::numbers::pi / 6), 1.5);
  EXPECT_NEAR(dark_y + 0.5 - cy, -15.5 * std::sin(std::numbers::pi / 6), 1.5);
}

TEST(Rotate, OneBitPicturesStayOneBit) {
  TProgress none;
  TPictureBitmap mono(20, 10, PixelFormat::Mono1);
  mono.Fill(kWhite);
  const TPictureBitmap out = RotatePicture(mono, 30, true, kBlack, none);
  EXPECT_TRUE(out.IsMono());
  EXPECT_EQ(out.Pixel(0, 0), kBlack);
  EXPECT_EQ(out.Pixel(out.Width() / 2, out.Height() / 2), kWhite);
  const TPictureBitmap quarter = RotatePicture(mono, 90, true, kBlack, none);
  EXPECT_EQ(quarter.Width(), 10);
  EXPECT_EQ(quarter.Height(), 20);
}

TEST(Resample, TargetSizeRules) {
  int w = 0, h = 0;
  ASSERT_TRUE(ResampleTargetSize(800, 600, 400, -1, w, h));
  EXPECT_EQ(w, 400);
  EXPECT_EQ(h, 300);
  ASSERT_TRUE(ResampleTargetSize(800, 600, -1, 300, w, h));
  EXPECT_EQ(w, 400);
  ASSERT_TRUE(ResampleTargetSize(800, 600, 0, -20, w, h));
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 20);
  ASSERT_TRUE(ResampleTargetSize(800, 600, 1, -1, w, h));
  EXPECT_EQ(h, 1);  // 600 div 800 = 0, at least 1
  EXPECT_FALSE(ResampleTargetSize(800, 600, -1, -1, w, h));
  EXPECT_FALSE(ResampleTargetSize(800, 600, -5, -3, w, h));
}

TEST(Resample, ProportionalSizeTruncates) {
  int w = 0, h = 0;
  ASSERT_TRUE(ResampleTargetSize(300, 200, 100, -1, w, h));  // 66.67
  EXPECT_EQ(h, 66);
  ASSERT_TRUE(ResampleTargetSize(200, 300, -1, 100, w, h));  // 66.67
  EXPECT_EQ(w, 66);
  ASSERT_TRUE(ResampleTargetSize(1920, 1080, 1000, -1, w, h));  // 562.5
  EXPECT_EQ(h, 562);
}

// A picture and its mirror image resample to mirror images of each other,
// whatever the filter, enlarging or shrinking, the edges included.
TEST(Resample, EveryFilterIsMirrorSymmetric) {
  auto mirrored = [](const TPictureBitmap& p) {
    TPictureBitmap m(p.Width(), p.Height());
    for (int y = 0; y < p.Height(); ++y)
      for (int x = 0; x < p.Width(); ++x) m.SetPixel(p.Width() - 1 - x, p.Height() - 1 - y, p.Pixel(x, y));
    return m;
  };
  TPictureBitmap black_white(2, 1);
  black_white.SetPixel(1, 0, kWhite);
  TPictureBitmap ramp(7, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) ramp.SetPixel(x, y, MakeColor(std::uint8_t(x * 40), std::uint8_t(y * 100), 7));
  // Sizes where the middle output pixel of a nearest-pixel scaling is not
  // a tie between two source pixels.
  const std::pair<int, int> sizes[] = {{5, 1}, {4, 3}, {15, 7}, {3, 2}, {1, 1}, {2, 5}, {6, 9}};
  for (int f = 0; f <= int(TResampleFilter::rfMitchell); ++f) {
    for (const TPictureBitmap* source : {&black_white, &ramp}) {
      for (const auto& [w, h] : sizes) {
        if (f == int(TResampleFilter::rfNone) && source == &black_white && w % 2 == 1) continue;
        SCOPED_TRACE(std::string(ResampleFilterName(TResampleFilter(f))) + " to " + std::to_string(w) + "x" +
                     std::to_string(h) + " from " + std::to_string(source->Width()));
        TProgress none;
        const TPictureBitmap out = ResamplePicture(*source, w, h, TResampleFilter(f), none);
        const TPictureBitmap out_of_mirror = ResamplePicture(mirrored(*source), w, h, TResampleFilter(f), none);
        EXPECT_TRUE(mirrored(out) == out_of_mirror);
      }
    }
  }
}

TEST(Resample, EveryFilterKeepsFlatColoursAndHitsTheSize) {
  const TPictureBitmap flat = Solid(37, 23, MakeColor(90, 180, 30));
  for (int f = 0; f <= int(TResampleFilter::rfMitchell); ++f) {
    for (const auto& [w, h] : {std::pair{100, 61}, std::pair{9, 5}, std::pair{1, 1}}) {
      TProgress none;
      const TPictureBitmap out = ResamplePicture(flat, w, h, TResampleFilter(f), none);
      ASSERT_EQ(out.Width(), w);
      ASSERT_EQ(out.Height(), h);
      EXPECT_EQ(out.Pixel(w - 1, h / 2), MakeColor(90, 180, 30)) << ResampleFilterName(TResampleFilter(f));
    }
  }
}

TEST(Resample, OneBitStaysOneBitOnlyWithoutAFilter) {
  TProgress none;
  TPictureBitmap mono(64, 48, PixelFormat::Mono1);
  EXPECT_TRUE(ResamplePicture(mono, 640, 480, TResampleFilter::rfNone, none).IsMono());
  EXPECT_FALSE(ResamplePicture(mono, 640, 480, TResampleFilter::rfMitchell, none).IsMono());
}

TEST(Resample, RefusesAbsurdSizes) {
  TProgress none;
  const TPictureBitmap pic = Solid(4, 4, kWhite);
  EXPECT_THROW(ResamplePicture(pic, 100000, 100000, TResampleFilter::rfNone, none), PictureSizeError);
  EXPECT_THROW(ResamplePicture(pic, 0, 10, TResampleFilter::rfTriangle, none), PictureSizeError);
}

TEST(Resample, FilterShapes) {
  EXPECT_DOUBLE_EQ(FilterWeight(TResampleFilter::rfMitchell, 0), 16.0 / 18);
  EXPECT_DOUBLE_EQ(FilterWeight(TResampleFilter::rfBell, 1), 0.125);
  EXPECT_DOUBLE_EQ(FilterWeight(TResampleFilter::rfLanczos3, 3), 0);
  EXPECT_EQ(ResampleFilterByName("lanczos3"), TResampleFilter::rfLanczos3);
  EXPECT_FALSE(ResampleFilterByName("Mitchell"));
}

TEST(Convolution, SharpenLeavesFlatPicturesAlone) {
  TProgress none;
  for (const auto& [w, h] : {std::pair{1, 1}, std::pair{2, 3}, std::pair{50, 40}}) {
    const TPictureBitmap flat = Solid(w, h, MakeColor(200, 17, 99));
    TPictureBitmap pic = flat;
    Convolve3x3(pic, kSharpenKernel, kSharpenDivisor, none);
    EXPECT_EQ(pic, flat);
  }
}

TEST(Convolution, KernelOrientationAndEdgeRepeat) {
  TProgress none;
  // Kernel that copies the pixel above-left: output(x, y) = input(x-1, y-1).
  TPictureBitmap pic = Gradient(5, 4);
  const TPictureBitmap before = pic;
  Convolve3x3(pic, {1, 0, 0, 0, 0, 0, 0, 0, 0}, 0, none);
  EXPECT_EQ(pic.Pixel(3, 2), before.Pixel(2, 1));
  EXPECT_EQ(pic.Pixel(0, 0), before.Pixel(0, 0));  // edges repeat
  EXPECT_EQ(pic.Pixel(4, 0), before.Pixel(3, 0));
}

TEST(Convolution, DivisionTruncatesAndClamps) {
  TProgress none;
  TPictureBitmap pic = Solid(3, 3, MakeColor(10, 0, 255));
  Convolve3x3(pic, {0, 0, 0, 0, 3, 0, 0, 0, 0}, 4, none);  // 30 div 4 = 7
  EXPECT_EQ(pic.Pixel(1, 1), MakeColor(7, 0, 191));
  Convolve3x3(pic, {0, 0, 0, 0, -1, 0, 0, 0, 0}, 1, none);
  EXPECT_EQ(pic.Pixel(1, 1), kBlack);
}

TEST(Flip, BothDirectionsBothFormats) {
  TProgress none;
  TPictureBitmap pic = Corners();
  FlipPicture(pic, TFlipDirection::Horizontal, none);
  EXPECT_EQ(pic.Pixel(2, 0), MakeColor(255, 0, 0));
  FlipPicture(pic, TFlipDirection::Vertical, none);
  EXPECT_EQ(pic.Pixel(2, 1), MakeColor(255, 0, 0));
  TPictureBitmap mono(11, 3, PixelFormat::Mono1);
  mono.SetPixel(0, 0, kWhite);
  FlipPicture(mono, TFlipDirection::Horizontal, none);
  EXPECT_EQ(mono.Pixel(10, 0), kWhite);
  EXPECT_EQ(mono.Pixel(0, 0), kBlack);
}

TEST(Canvas, AlignmentPlacesTheOldPicture) {
  const TPictureBitmap pic = Corners();
  const TPictureBitmap grown = ResizeCanvas(pic, 7, 6, TCanvasAlign::Start, TCanvasAlign::Start, kWhite);
  EXPECT_EQ(grown.Pixel(0, 0), MakeColor(255, 0, 0));
  EXPECT_EQ(grown.Pixel(6, 5), kWhite);
  const TPictureBitmap centred = ResizeCanvas(pic, 7, 6, TCanvasAlign::Center, TCanvasAlign::End, kWhite);
  EXPECT_EQ(centred.Pixel(2, 4), MakeColor(255, 0, 0));
  const TPictureBitmap shrunk = ResizeCanvas(pic, 1, 1, TCanvasAlign::End, TCanvasAlign::End, kWhite);
  EXPECT_EQ(shrunk.Pixel(0, 0), kWhite);  // the bottom-right pixel
}

}  // namespace
}  // namespace vistrel
