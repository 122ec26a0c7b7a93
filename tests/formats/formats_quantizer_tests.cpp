// The colour quantizer: exact palettes, palette sizes of both quantizers
// and nearest-colour mapping.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "imaging/color_quantizer.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

TEST(ColorQuantizer, FewColoursAreKeptInRowScanOrderThenBlack) {
  TPictureBitmap p(3, 2);
  p.Fill(MakeColor(9, 9, 9));
  p.SetPixel(2, 0, MakeColor(1, 2, 3));
  p.SetPixel(0, 1, MakeColor(200, 0, 0));
  const TPalette palette = BuildPalette(p, 16);
  ASSERT_EQ(palette.size(), 16u);
  EXPECT_EQ(palette[0], MakeColor(9, 9, 9));
  EXPECT_EQ(palette[1], MakeColor(1, 2, 3));
  EXPECT_EQ(palette[2], MakeColor(200, 0, 0));
  for (std::size_t i = 3; i < 16; ++i) EXPECT_EQ(palette[i], kBlack);
  EXPECT_EQ(ExactColors(p, 2), TPalette{});
  EXPECT_EQ(BuildPalette(test::MonoPattern(8, 8), 256)[0], kWhite);
}

// A picture of many colours: error measured as mean squared channel error.
double MeanSquaredError(const TPictureBitmap& a, const TPictureBitmap& b) {
  double sum = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width() * 3; ++x) {
      const double d = double(a.Row(y)[x]) - b.Row(y)[x];
      sum += d * d;
    }
  return sum / (double(a.Width()) * a.Height() * 3);
}

TEST(ColorQuantizer, BothQuantizersFillTheirPaletteAndStayClose) {
  const TPictureBitmap photo = test::PhotoLike(160, 120);
  for (int colours : {2, 16, 64, 127, 128, 256}) {
    SCOPED_TRACE(colours);
    const TPalette palette = BuildPalette(photo, colours);
    EXPECT_EQ(int(palette.size()), colours);
    TPictureBitmap reduced = photo;
    ReduceColors(reduced, colours);
    EXPECT_LE(int(ExactColors(reduced, 256).size()), colours);
    // More colours, smaller error; 16 colours already within ~18 levels.
    if (colours >= 16) {
      EXPECT_LT(MeanSquaredError(reduced, photo), 350.0);
    }
    if (colours >= 128) {
      EXPECT_LT(MeanSquaredError(reduced, photo), 60.0);
    }
  }
}

TEST(ColorQuantizer, BoxSplittingColoursAreBoxMeansTimesEight) {
  // Two clusters of many colours make two boxes; the first one's mean
  // in 5-bit cells is (4, 1, 1).
  TPictureBitmap p(40, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      p.SetPixel(x, y, x < 20 ? MakeColor(std::uint8_t(16 + (x % 5) * 8), 8, 8) : MakeColor(200, 200, std::uint8_t(160 + y)));
  const TPalette palette = BuildPalette(p, 2);
  EXPECT_NE(std::find(palette.begin(), palette.end(), MakeColor(32, 8, 8)), palette.end());
  EXPECT_EQ(palette.size(), 2u);
}

TEST(ColorQuantizer, MapperFindsTheNearestEntryLowestIndexFirst) {
  TPaletteMapper mapper({MakeColor(0, 0, 0), MakeColor(255, 0, 0), MakeColor(0, 0, 255), MakeColor(255, 0, 0)});
  EXPECT_EQ(mapper.Index(250, 10, 10), 1);  // 1 and 3 are equal: the first
  EXPECT_EQ(mapper.Index(10, 10, 200), 2);
  EXPECT_EQ(mapper.Index(20, 20, 20), 0);
  // Against a plain search over a random palette and random colours.
  std::mt19937 rng(5);
  TPalette palette;
  for (int i = 0; i < 256; ++i) palette.push_back(rng() & 0xFFFFFF);
  TPaletteMapper big(palette);
  for (int k = 0; k < 20000; ++k) {
    const TColor c = rng() & 0xFFFFFF;
    int best = 0, best_d = 1 << 30;
    for (int i = 0; i < 256; ++i) {
      const int dr = RedOf(palette[i]) - RedOf(c), dg = GreenOf(palette[i]) - GreenOf(c),
                db = BlueOf(palette[i]) - BlueOf(c);
      const int d = dr * dr + dg * dg + db * db;
      if (d < best_d) best_d = d, best = i;
    }
    ASSERT_EQ(big.Index(c), best) << std::hex << c;
  }
}

TEST(ColorQuantizer, ReduceLeavesOneBitPicturesAlone) {
  TPictureBitmap mono = test::MonoPattern(9, 9);
  const TPictureBitmap before = mono;
  ReduceColors(mono, 16);
  EXPECT_EQ(mono, before);
}

}  // namespace
}  // namespace vistrel
