// The effects dialog's functions: neutral settings change nothing, results
// stay in range, and each does what its name says on simple pictures.
#include <gtest/gtest.h>

#include <functional>

#include "imaging/operations/effects.h"
#include "imaging/operations/hsl_adjust.h"
#include "test_pictures.h"

namespace vistrel::testing {
namespace {

using TEffect = std::function<void(TPictureBitmap&, TProgress&)>;

struct TNamedEffect {
  const char* name;
  TEffect neutral;
  TEffect strong;
};

const TNamedEffect kEffects[] = {
    {"Contrast", [](auto& p, auto& g) { EffectContrast(p, 0, 0, g); }, [](auto& p, auto& g) { EffectContrast(p, 100, 100, g); }},
    {"HSV", [](auto& p, auto& g) { EffectHsv(p, 0, 0, 0, g); }, [](auto& p, auto& g) { EffectHsv(p, 180, 100, 100, g); }},
    {"HSL", [](auto& p, auto& g) { AdjustHsl(p, 0, 0, 0, g); }, [](auto& p, auto& g) { AdjustHsl(p, -180, -100, 100, g); }},
    {"Levels", [](auto& p, auto& g) { EffectLevels(p, 0, 255, 0, 255, g); }, [](auto& p, auto& g) { EffectLevels(p, 255, 0, 255, 0, g); }},
    {"BumpMap", [](auto& p, auto& g) { EffectBumpMap(p, 0, 45, g); }, [](auto& p, auto& g) { EffectBumpMap(p, 100, 300, g); }},
    {"Lens", [](auto& p, auto& g) { EffectLens(p, 0, g); }, [](auto& p, auto& g) { EffectLens(p, 100, g); }},
    {"Wave", [](auto& p, auto& g) { EffectWave(p, 0, 20, g); }, [](auto& p, auto& g) { EffectWave(p, 50, 2, g); }},
    {"Morph", [](auto& p, auto& g) { EffectMorph(p, 3, 0, g); }, [](auto& p, auto& g) { EffectMorph(p, 2, 10, g); }},
    {"FFT", [](auto& p, auto& g) { EffectFft(p, 0, 100, g); }, [](auto& p, auto& g) { EffectFft(p, 1, 100, g); }},
    {"Gamma", [](auto& p, auto& g) { EffectGamma(p, 100, g); }, [](auto& p, auto& g) { EffectGamma(p, 10, g); }},
    {"Sharpen", [](auto& p, auto& g) { EffectSharpen(p, 0, 5, g); }, [](auto& p, auto& g) { EffectSharpen(p, 100, 15, g); }},
};

TEST(Effects, NeutralSettingsChangeNothing) {
  const TPictureBitmap original = Gradient(37, 23);
  for (const TNamedEffect& effect : kEffects) {
    TPictureBitmap picture = original;
    TProgress progress;
    effect.neutral(picture, progress);
    EXPECT_TRUE(picture == original) << effect.name;
  }
}

TEST(Effects, StrongSettingsKeepSizeAndLeaveOneBitAndTinyPicturesAlone) {
  for (const TNamedEffect& effect : kEffects) {
    TPictureBitmap picture = Gradient(37, 23);
    TProgress progress;
    effect.strong(picture, progress);
    EXPECT_EQ(picture.Width(), 37) << effect.name;
    EXPECT_EQ(picture.Height(), 23) << effect.name;
    TPictureBitmap mono(9, 9, PixelFormat::Mono1);
    mono.SetPixel(3, 3, kWhite);
    const TPictureBitmap mono_before = mono;
    effect.strong(mono, progress);
    EXPECT_TRUE(mono == mono_before) << effect.name;
    TPictureBitmap one = Solid(1, 1, MakeColor(10, 20, 30));
    effect.strong(one, progress);  // no crash, no read beyond the pixel
    TPictureBitmap empty;
    effect.strong(empty, progress);
  }
}

TEST(Effects, ToneCurvesClampAtTheEnds) {
  TPictureBitmap picture = Solid(4, 4, MakeColor(250, 128, 5));
  TProgress progress;
  EffectContrast(picture, 100, 0, progress);
  EXPECT_EQ(picture.Pixel(0, 0), MakeColor(255, 128, 0));
  picture = Solid(2, 2, MakeColor(250, 128, 5));
  EffectContrast(picture, -100, 0, progress);
  EXPECT_EQ(picture.Pixel(1, 1), MakeColor(128, 128, 128));
  picture = Solid(2, 2, MakeColor(200, 100, 0));
  EffectContrast(picture, 0, 100, progress);
  EXPECT_EQ(picture.Pixel(1, 1), MakeColor(255, 255, 255));
  // A threshold range of one value is a plain threshold.
  picture = Solid(2, 1, MakeColor(99, 100, 101));
  EffectLevels(picture, 100, 100, 0, 255, progress);
  EXPECT_EQ(picture.Pixel(0, 0), MakeColor(0, 255, 255));
  picture = Solid(1, 2, MakeColor(0, 64, 255));
  EffectGamma(picture, 200, progress);
  EXPECT_EQ(picture.Pixel(0, 0), MakeColor(0, 128, 255));
}

TEST(Effects, HsvTurnsHueAndValue) {
  TPictureBitmap picture = Solid(2, 2, MakeColor(255, 0, 0));
  TProgress progress;
  EffectHsv(picture, 120, 0, 0, progress);
  EXPECT_EQ(picture.Pixel(0, 0), MakeColor(0, 255, 0));
  EffectHsv(picture, 0, -100, 0, progress);
  EXPECT_EQ(picture.Pixel(0, 0), MakeColor(255, 255, 255));
  EffectHsv(picture, 0, 0, -100, progress);
  EXPECT_EQ(picture.Pixel(0, 0), kBlack);
}

TEST(Effects, MorphologyGrowsAndShrinksABrightDot) {
  TPictureBitmap picture = Solid(9, 9, kBlack);
  picture.SetPixel(4, 4, kWhite);
  TProgress progress;
  EffectMorph(picture, 0, 1, progress);
  EXPECT_EQ(picture.Pixel(3, 5), kWhite);
  EXPECT_EQ(picture.Pixel(2, 4), kBlack);
  EffectMorph(picture, 1, 1, progress);
  EXPECT_EQ(picture.Pixel(4, 4), kWhite);
  EXPECT_EQ(picture.Pixel(3, 3), kBlack);
  // Opening removes a dot smaller than the square.
  EffectMorph(picture, 2, 1, progress);
  EXPECT_EQ(picture.Pixel(4, 4), kBlack);
}

TEST(Effects, FlatPicturesStayFlatUnderFiltersAndDistortions) {
  const TColor grey = MakeColor(90, 120, 150);
  for (const TNamedEffect& effect : kEffects) {
    const std::string name = effect.name;
    if (name == "Contrast" || name == "HSV" || name == "HSL" || name == "Levels" || name == "Gamma") continue;
    if (name == "FFT") continue;  // the high pass keeps only the mean
    TPictureBitmap picture = Solid(16, 12, grey);
    TProgress progress;
    effect.strong(picture, progress);
    EXPECT_TRUE(picture == Solid(16, 12, grey)) << name;
  }
  TPictureBitmap picture = Solid(16, 12, grey);
  TProgress progress;
  EffectFft(picture, 1, 50, progress);
  EXPECT_EQ(picture.Pixel(7, 7), grey);
}

TEST(Effects, LowPassSmoothsAnEdge) {
  TPictureBitmap picture = Solid(32, 8, kBlack);
  for (int y = 0; y < 8; ++y)
    for (int x = 16; x < 32; ++x) picture.SetPixel(x, y, kWhite);
  TProgress progress;
  EffectFft(picture, 0, 10, progress);
  const int at_edge = RedOf(picture.Pixel(16, 4));
  EXPECT_GT(at_edge, 40);
  EXPECT_LT(at_edge, 215);
}

}  // namespace
}  // namespace vistrel::testing
