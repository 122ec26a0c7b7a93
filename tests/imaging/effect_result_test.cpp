// Writing an effect's result back, and user filter files.
#include <gtest/gtest.h>

#include "imaging/operations/effect_result.h"
#include "imaging/selection_geometry.h"
#include "test_pictures.h"

namespace vistrel::testing {
namespace {

TPictureMask RectMask(int w, int h, int l, int t, int r, int b) {
  TSelection selection(w, h);
  selection.SelectRect(l, t, r, b);
  return selection.BuildMask();
}

TEST(EffectResult, WithoutSelectionTheResultReplacesThePictureAndItsSize) {
  TPictureBitmap picture = Gradient(20, 10);
  WriteEffectResult(picture, nullptr, Solid(10, 20, kWhite));
  EXPECT_EQ(picture.Width(), 10);
  EXPECT_EQ(picture.Height(), 20);
  // A selection covering the whole picture counts as none.
  const TPictureMask all = RectMask(10, 20, 0, 0, 9, 19);
  WriteEffectResult(picture, &all, Solid(30, 5, kBlack));
  EXPECT_EQ(picture.Width(), 30);
}

TEST(EffectResult, AResultOfAnotherSizeIsCutToTheSelectionBox) {
  const TPictureBitmap original = Gradient(40, 30);
  const TPictureMask mask = RectMask(40, 30, 10, 5, 19, 14);  // 10 x 10
  // Larger (a turned, grown result): only the box changes.
  TPictureBitmap picture = original;
  WriteEffectResult(picture, &mask, Solid(25, 18, kWhite));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool in_box = x >= 10 && x <= 19 && y >= 5 && y <= 14;
      EXPECT_EQ(picture.Pixel(x, y), in_box ? kWhite : original.Pixel(x, y)) << x << "," << y;
    }
  // Smaller: from the box's top-left; box pixels beyond it keep their values.
  picture = original;
  WriteEffectResult(picture, &mask, Solid(4, 3, kBlack));
  EXPECT_EQ(picture.Pixel(13, 7), kBlack);
  EXPECT_EQ(picture.Pixel(14, 7), original.Pixel(14, 7));
  EXPECT_EQ(picture.Pixel(13, 8), original.Pixel(13, 8));
}

TEST(EffectResult, AnEllipseKeepsTheCornersOfItsBox) {
  const TPictureBitmap original = Gradient(40, 40);
  TSelection selection(40, 40);
  selection.SelectEllipse(20, 20, 10, 10);
  const TPictureMask mask = selection.BuildMask();
  TPictureBitmap picture = original;
  const TPictureRect box = mask.BoundingBox();
  WriteEffectResult(picture, &mask, Solid(box.Width(), box.Height(), kWhite));
  EXPECT_EQ(picture.Pixel(20, 20), kWhite);
  EXPECT_EQ(picture.Pixel(box.left, box.top), original.Pixel(box.left, box.top));
}

TEST(UserFilterFile, TenWholeNumbersRoundTrip) {
  const TUserFilter sharpen{{-1, 0, -1, 0, 20, 0, -1, 0, -1}, 16};
  EXPECT_EQ(ParseUserFilter(FormatUserFilter(sharpen)), sharpen);
  EXPECT_EQ(ParseUserFilter("1,2,3, 4 5 6\r\n7 8 9\n0"), (TUserFilter{{1, 2, 3, 4, 5, 6, 7, 8, 9}, 0}));
  for (const char* bad : {"", "1 2 3", "1 2 3 4 5 6 7 8 9 10 11", "1 2 3 4 5 6 7 8 9 x", "1.5 2 3 4 5 6 7 8 9 1",
                          "1 2 3 4 5 6 7 8 9 99999999999", "8000 0 0 0 0 0 0 0 0 1"})
    EXPECT_FALSE(ParseUserFilter(bad)) << bad;
}

}  // namespace
}  // namespace vistrel::testing
