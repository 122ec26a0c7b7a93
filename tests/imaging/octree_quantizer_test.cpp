#include <gtest/gtest.h>

#include <set>

#include "imaging/octree_quantizer.h"
#include "imaging/print_picture.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

using testing::Gradient;
using testing::Solid;

TRgbQuad Quad(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return {b, g, r, 0}; }

TColor PrintedAt(const TPrintPicture& pic, int x, int y) {
  const std::uint8_t* p = pic.pixels.data() + std::size_t(y) * pic.stride;
  if (pic.bits == 8) {
    const TRgbQuad& q = pic.palette[p[x]];
    return MakeColor(q.red, q.green, q.blue);
  }
  return MakeColor(p[3 * x + 2], p[3 * x + 1], p[3 * x]);
}

TEST(OctreeQuantizer, BlackAndWhiteGiveTwoEntriesInTreeOrderAndTheRestStaysBlack) {
  TPictureBitmap pic = Solid(4, 4, kWhite);
  pic.SetPixel(3, 3, kBlack);
  TColorQuantizer q(256, 6);
  q.ProcessImage(pic);
  EXPECT_EQ(q.LeafCount(), 2);
  std::vector<TRgbQuad> table(256);
  q.GetColorTable(table);
  EXPECT_EQ(table[0], Quad(0, 0, 0));
  EXPECT_EQ(table[1], Quad(255, 255, 255));
  for (std::size_t i = 2; i < table.size(); ++i) ASSERT_EQ(table[i], TRgbQuad{}) << i;
}

TEST(OctreeQuantizer, ColoursDifferingInTheirLowTwoBitsShareAWeightedLeaf) {
  TColorQuantizer q(256, 6);
  for (int i = 0; i < 3; ++i) q.AddColor(100, 40, 8);
  q.AddColor(103, 43, 11);
  EXPECT_EQ(q.LeafCount(), 1);
  std::vector<TRgbQuad> table(1);
  q.GetColorTable(table);
  EXPECT_EQ(table[0], Quad((300 + 103) / 4, (120 + 43) / 4, (24 + 11) / 4));
}

TEST(OctreeQuantizer, OverTheLimitTheNewestDeepestInnerNodeMergesFirst) {
  TColorQuantizer q(2, 6);
  q.AddColor(0, 0, 0);
  q.AddColor(4, 0, 0);    // splits from black only at the sixth level
  q.AddColor(255, 255, 255);
  // White's own chain is merged first (one child, no gain), then black's.
  EXPECT_EQ(q.LeafCount(), 2);
  std::vector<TRgbQuad> table(3, Quad(9, 9, 9));
  q.GetColorTable(table);
  EXPECT_EQ(table[0], Quad(2, 0, 0));
  EXPECT_EQ(table[1], Quad(255, 255, 255));
  EXPECT_EQ(table[2], Quad(9, 9, 9));  // beyond the leaves: left alone
}

TEST(OctreeQuantizer, SumsDoNotOverflowOnHugeWhiteAreas) {
  TColorQuantizer q(256, 6);
  for (int i = 0; i < 9'000'000; ++i) q.AddColor(255, 255, 255);
  std::vector<TRgbQuad> table(1);
  q.GetColorTable(table);
  EXPECT_EQ(table[0], Quad(255, 255, 255));
}

TEST(OctreeQuantizer, APhotographKeepsAtMost256Colours) {
  TColorQuantizer q(256, 6);
  q.ProcessImage(Gradient(300, 200));
  EXPECT_LE(q.LeafCount(), 256);
  EXPECT_GT(q.LeafCount(), 64);
}

TEST(PrintPicture, DistinctColoursPrintUnchangedWhenOptimized) {
  // 256 colours, each with its own top six bits.
  TPictureBitmap pic(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      pic.SetPixel(x, y, MakeColor(std::uint8_t(x * 16), std::uint8_t(y * 16), std::uint8_t((x ^ y) * 16)));
  const TPrintPicture out = PreparePrintPicture(pic, false, true);
  ASSERT_EQ(out.bits, 8);
  ASSERT_EQ(out.palette.size(), 256u);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(PrintedAt(out, x, y), pic.Pixel(x, y)) << x << "," << y;
}

TEST(PrintPicture, GreyAveragesTheChannels) {
  const TPrintPicture out = PreparePrintPicture(Solid(3, 1, MakeColor(255, 0, 1)), true, false);
  EXPECT_EQ(out.bits, 24);
  EXPECT_EQ(PrintedAt(out, 2, 0), MakeColor(85, 85, 85));
}

TEST(PrintPicture, GreyAndOptimizedKeepsAtMost64GreyLevels) {
  TPictureBitmap pic(256, 4);
  for (int x = 0; x < 256; ++x)
    for (int y = 0; y < 4; ++y) pic.SetPixel(x, y, MakeColor(std::uint8_t(x), std::uint8_t(255 - x), 7));
  const TPrintPicture out = PreparePrintPicture(pic, true, true);
  std::set<TColor> colours;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 256; ++x) {
      const TColor c = PrintedAt(out, x, y);
      ASSERT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c));
      colours.insert(c);
    }
  EXPECT_LE(colours.size(), 64u);
}

TEST(PrintPicture, SizesFollowDibRows) {
  TPictureBitmap pic = Gradient(5, 3);
  EXPECT_EQ(PreparePrintPicture(pic, false, false).PixelDataSize(), 16u * 3);  // 15 bytes padded
  EXPECT_EQ(PreparePrintPicture(pic, false, true).PixelDataSize(), 8u * 3);
  TPictureBitmap mono(9, 2, PixelFormat::Mono1);
  mono.SetPixel(8, 1, kWhite);
  const TPrintPicture out = PreparePrintPicture(mono, false, false);
  EXPECT_EQ(PrintedAt(out, 8, 1), kWhite);
  EXPECT_EQ(PrintedAt(out, 0, 0), kBlack);
}

}  // namespace
}  // namespace vistrel
