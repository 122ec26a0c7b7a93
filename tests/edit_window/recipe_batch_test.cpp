// The recipe batch on plain pictures: order, rounding, the size cap, the
// frame, and that every run adds to the previous one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/picture_proc.h"
#include "imaging/picture_recipe.h"

namespace vistrel {
namespace {

TPictureBitmap Gradient(int w, int h) {
  TPictureBitmap p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.SetPixel(x, y, MakeColor(std::uint8_t(x * 7), std::uint8_t(y * 5), 90));
  return p;
}

struct Batch {
  explicit Batch(TPictureBitmap p) : picture(std::move(p)), undo(64), proc(picture, undo) {}
  void Run(const TPictureRecipe& recipe, TBatchQuality quality = {}) {
    ApplyPictureRecipe(recipe, quality, picture, proc);
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (int i = 0; i < undo.UndoDepth(); ++i) out.push_back(undo.Caption(i));
    return out;
  }
  TPictureBitmap picture;
  TUndoStack undo;
  TPictureProc proc;
};

TEST(RecipeBatch, EveryStepRunsInItsOrder) {
  TPictureRecipe r;
  r.CheckBoxItem.fill(true);
  r.CheckBoxItem[efTurn90] = false;
  r.RRotation = 30;
  r.ColorDepth = cd256Colors;
  r.RZoom = 50;
  r.RRed = 10;
  r.RGreen = -10;
  r.RBrightness = 30;
  r.RSaturation = -30;
  r.RContrast = 9;
  r.RSubsituteColors = true;
  r.RSwapColors = true;
  r.RFrameSize = 2;
  Batch b(Gradient(40, 30));
  b.Run(r);
  const std::vector<std::string> expected = {
      "Rotate 30",      "ConvertTo 256", "Resample",
      "IntensityRGBall 10,-10,0", "HSLvar 0,0,10", "HSLvar 0,-10,0", "Contrast 3", "Negative",
      "ConvertToGray",  "CastColorRange", "SwapColors", "Flip", "Flip", "ApplyFilter",
      "ApplyFilter"};
  const std::vector<std::string> got = b.Captions();
  ASSERT_EQ(got.size(), expected.size() + 1);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (i == 2) {
      EXPECT_EQ(got[i].rfind("Resample ", 0), 0u);
      EXPECT_NE(got[i].find(",-1"), std::string::npos) << "zoom keeps the proportions: " << got[i];
      continue;
    }
    EXPECT_EQ(got[i], expected[i]) << "step " << i;
  }
  EXPECT_EQ(got.back().rfind("ImageResize ", 0), 0u);
}

TEST(RecipeBatch, DefaultRecipeOnlyMakesAPictureTwentyFourBit) {
  Batch colour(Gradient(20, 10));
  const TPictureBitmap before = colour.picture;
  colour.Run(TPictureRecipe{});
  EXPECT_TRUE(colour.Captions().empty());
  EXPECT_EQ(colour.picture, before);

  Batch mono(TPictureBitmap(20, 10, PixelFormat::Mono1));
  mono.Run(TPictureRecipe{});
  EXPECT_EQ(mono.Captions(), std::vector<std::string>{"ConvertTo24Bit"});
  EXPECT_FALSE(mono.picture.IsMono());
}

TEST(RecipeBatch, SliderThirdsTruncateTowardZero) {
  const struct {
    int position;
    const char* caption;
  } cases[] = {{10, "HSLvar 0,0,3"}, {-10, "HSLvar 0,0,-3"}, {2, "HSLvar 0,0,0"}, {255, "HSLvar 0,0,85"}};
  for (const auto& c : cases) {
    TPictureRecipe r;
    r.RBrightness = c.position;
    Batch b(Gradient(8, 8));
    b.Run(r);
    EXPECT_EQ(b.Captions(), std::vector<std::string>{c.caption}) << c.position;
  }
  TPictureRecipe r;
  r.RContrast = -10;
  Batch b(Gradient(8, 8));
  b.Run(r);
  EXPECT_EQ(b.Captions(), std::vector<std::string>{"Contrast -3"});
}

TEST(RecipeBatch, TargetSizeRoundsHalvesToEven) {
  EXPECT_EQ(RoundHalfEven(5, 2), 2);
  EXPECT_EQ(RoundHalfEven(7, 2), 4);
  EXPECT_EQ(RoundHalfEven(-5, 2), -2);
  EXPECT_EQ(RoundHalfEven(-7, 2), -4);
  EXPECT_EQ(RoundHalfEven(251, 100), 3);
  TPictureRecipe r;
  r.RZoom = 101;
  // 250 x 1.01 = 252.5 -> 252, 150 x 1.01 = 151.5 -> 152.
  TRecipeSize s = RecipeTargetSize(r, 250, 150, nullptr);
  EXPECT_EQ(s.width, 252);
  EXPECT_EQ(s.height, 152);
  // A zoom that would leave nothing keeps a pixel.
  r.RZoom = 10;
  s = RecipeTargetSize(r, 4, 3, nullptr);
  EXPECT_EQ(s.width, 1);
  EXPECT_EQ(s.height, 1);
  Batch tiny(Gradient(4, 3));
  tiny.Run(r);
  EXPECT_EQ(tiny.picture.Width(), 1);
  EXPECT_EQ(tiny.picture.Height(), 1);
}

TEST(RecipeBatch, TargetsAboveTheCapAreNotResized) {
  TPictureRecipe r;
  r.RZoom = 400;
  bool capped = false;
  const TRecipeSize s = RecipeTargetSize(r, 1600, 1200, &capped);
  EXPECT_TRUE(capped);
  EXPECT_EQ(s.width, 1600);
  EXPECT_EQ(s.height, 1200);
  Batch b(Gradient(1600, 1200));
  b.Run(r);
  EXPECT_TRUE(b.Captions().empty());
  EXPECT_EQ(b.picture.Width(), 1600);

  // Exactly the cap is still resized.
  r.RZoom = 200;
  RecipeTargetSize(r, 1050, 1000, &capped);
  EXPECT_FALSE(capped);
}

TEST(RecipeBatch, FixedSizeIgnoresProportionsAndTurnUsesNinety) {
  TPictureRecipe r;
  r.PictureSize = 7;
  Batch b(Gradient(300, 200));
  b.Run(r);
  EXPECT_EQ(b.picture.Width(), 1600);
  EXPECT_EQ(b.picture.Height(), 1200);

  TPictureRecipe turn;
  turn.CheckBoxItem[efTurn90] = true;
  turn.RRotation = 45;  // the slider is forced to 90
  Batch t(Gradient(30, 20));
  t.Run(turn);
  EXPECT_EQ(t.Captions(), std::vector<std::string>{"Rotate 90"});
  EXPECT_EQ(t.picture.Width(), 20);
  EXPECT_EQ(t.picture.Height(), 30);
}

TEST(RecipeBatch, FrameSurroundsThePicture) {
  TPictureRecipe r;
  r.RFrameSize = 5;
  r.RFrameColor = MakeColor(200, 10, 20);
  const TPictureBitmap original = Gradient(200, 100);
  Batch b(original);
  b.Run(r);
  ASSERT_EQ(b.picture.Width(), 210);
  ASSERT_EQ(b.picture.Height(), 110);
  for (int y = 0; y < 110; ++y)
    for (int x = 0; x < 210; ++x) {
      const bool border = x < 5 || y < 5 || x >= 205 || y >= 105;
      const TColor want = border ? r.RFrameColor : original.Pixel(x - 5, y - 5);
      ASSERT_EQ(b.picture.Pixel(x, y), want) << x << "," << y;
    }
}

TEST(RecipeBatch, FrameFitsAProportionallyResampledPicture) {
  // 201 x 101 at 150 %: the target is 302 x 152, the resampled picture
  // 302 x 151; the frame must close around the latter.
  TPictureRecipe r;
  r.RZoom = 150;
  r.RFrameSize = 3;
  r.RFrameColor = MakeColor(0, 255, 0);
  Batch b(Gradient(201, 101));
  b.Run(r);
  ASSERT_EQ(b.picture.Width(), 308);
  ASSERT_EQ(b.picture.Height(), 157);
  for (int x = 0; x < 308; ++x)
    for (int i = 0; i < 3; ++i) ASSERT_EQ(b.picture.Pixel(x, 156 - i), r.RFrameColor) << x;
  EXPECT_NE(b.picture.Pixel(150, 153), r.RFrameColor);
}

TEST(RecipeBatch, EachRunAddsToTheLastOne) {
  TPictureRecipe r;
  r.RBrightness = 30;
  r.RFrameSize = 1;
  TPictureBitmap grey(10, 10);
  grey.Fill(MakeColor(100, 100, 100));
  Batch b(grey);
  b.Run(r);
  const int once = RedOf(b.picture.Pixel(5, 5));
  b.Run(r);
  const int twice = RedOf(b.picture.Pixel(5, 5));
  // Lightened by another tenth, framed around the first frame.
  EXPECT_GT(once, 120);
  EXPECT_GT(twice, once + 20);
  EXPECT_EQ(b.picture.Width(), 14);
  EXPECT_EQ(b.Captions().size(), 4u);
}

TEST(RecipeBatch, DamagedValuesAreClampedToTheControls) {
  TPictureRecipe r;
  r.ColorDepth = 99;
  r.PictureSize = -4;
  r.RBrightness = 1000;
  r.RZoom = 0;
  r.RRotation = 720;
  r.RFrameSize = -5;
  r.RFrameColor = 0xFF123456u;
  r.Clamp();
  EXPECT_EQ(r.ColorDepth, 6);
  EXPECT_EQ(r.PictureSize, 0);
  EXPECT_EQ(r.RBrightness, 255);
  EXPECT_EQ(r.RZoom, 10);
  EXPECT_EQ(r.RRotation, 360);
  EXPECT_EQ(r.RFrameSize, 0);
  EXPECT_EQ(r.RFrameColor, 0x00123456u);
}

}  // namespace
}  // namespace vistrel
