#include "platform/x11/ximage_convert.h"

#include <gtest/gtest.h>

#include <ostream>

#include <vector>

namespace vistrel {
namespace {

// Three pixels (red, a mixed colour, white) packed the server's way; rows
// padded to `stride`.
struct LayoutCase {
  const char* name;
  TXPixelLayout layout;
  std::vector<std::uint8_t> row;  // one row of three pixels, padding included
};

// Test lists show the case by its name.
void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class ConvertTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ConvertTest, PixelsComeOutAsBgr) {
  const LayoutCase& c = GetParam();
  ASSERT_TRUE(SupportedXPixelLayout(c.layout));
  std::vector<std::uint8_t> image = c.row;
  image.insert(image.end(), c.row.begin(), c.row.end());  // two rows
  TPictureBitmap out(5, 3);
  out.Fill(MakeColor(1, 2, 3));
  ConvertXImageRows(image.data(), c.row.size(), 3, 2, c.layout, out, 1, 1);
  for (int y : {1, 2}) {
    EXPECT_EQ(out.Pixel(1, y), MakeColor(255, 0, 0));
    EXPECT_EQ(out.Pixel(2, y), MakeColor(0x12, 0x34, 0x56));
    EXPECT_EQ(out.Pixel(3, y), MakeColor(255, 255, 255));
    EXPECT_EQ(out.Pixel(0, y), MakeColor(1, 2, 3));  // untouched around
    EXPECT_EQ(out.Pixel(4, y), MakeColor(1, 2, 3));
  }
  EXPECT_EQ(out.Pixel(2, 0), MakeColor(1, 2, 3));
}

const TXPixelLayout kBgrx32{32, false, 0xFF0000, 0xFF00, 0xFF};
const TXPixelLayout kXrgb32Msb{32, true, 0xFF0000, 0xFF00, 0xFF};
const TXPixelLayout kRgbx32Swapped{32, false, 0xFF, 0xFF00, 0xFF0000};
const TXPixelLayout kPacked24{24, false, 0xFF0000, 0xFF00, 0xFF};
const TXPixelLayout kRgb565{16, false, 0xF800, 0x07E0, 0x001F};

INSTANTIATE_TEST_SUITE_P(
    Layouts, ConvertTest,
    ::testing::Values(
        LayoutCase{"Bgrx32", kBgrx32,
                   {0, 0, 0xFF, 0, 0x56, 0x34, 0x12, 0, 0xFF, 0xFF, 0xFF, 0xFF}},
        LayoutCase{"Xrgb32MsbFirst", kXrgb32Msb,
                   {0, 0xFF, 0, 0, 0, 0x12, 0x34, 0x56, 0, 0xFF, 0xFF, 0xFF}},
        LayoutCase{"RedInLowByte", kRgbx32Swapped,
                   {0xFF, 0, 0, 0, 0x12, 0x34, 0x56, 0, 0xFF, 0xFF, 0xFF, 0}},
        LayoutCase{"Packed24PaddedRow", kPacked24,
                   {0, 0, 0xFF, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConvertXImage, Rgb565IsScaledToFullRange) {
  // red, (0x12,0x34,0x56) reduced to 5-6-5, white
  const std::uint16_t mixed = std::uint16_t((0x12 >> 3) << 11 | (0x34 >> 2) << 5 | (0x56 >> 3));
  const std::vector<std::uint8_t> row{0x00, 0xF8, std::uint8_t(mixed), std::uint8_t(mixed >> 8),
                                      0xFF, 0xFF, 0, 0};
  TPictureBitmap out(3, 1);
  ConvertXImageRows(row.data(), row.size(), 3, 1, kRgb565, out, 0, 0);
  EXPECT_EQ(out.Pixel(0, 0), MakeColor(255, 0, 0));
  EXPECT_EQ(out.Pixel(2, 0), MakeColor(255, 255, 255));
  const TColor c = out.Pixel(1, 0);
  EXPECT_NEAR(RedOf(c), 0x12, 8);
  EXPECT_NEAR(GreenOf(c), 0x34, 4);
  EXPECT_NEAR(BlueOf(c), 0x56, 8);
}

TEST(ConvertXImage, WideRowsTakeTheFastPathCorrectly) {
  // 9 pixels: two groups of four and one left over.
  std::vector<std::uint8_t> row;
  for (int x = 0; x < 9; ++x) row.insert(row.end(), {std::uint8_t(x), std::uint8_t(10 + x),
                                                     std::uint8_t(20 + x), 0xAA});
  TPictureBitmap out(9, 1);
  ConvertXImageRows(row.data(), row.size(), 9, 1, kBgrx32, out, 0, 0);
  for (int x = 0; x < 9; ++x)
    EXPECT_EQ(out.Pixel(x, 0), MakeColor(std::uint8_t(20 + x), std::uint8_t(10 + x),
                                         std::uint8_t(x)));
}

TEST(ConvertXImage, UnusableLayoutsAreRefused) {
  EXPECT_FALSE(SupportedXPixelLayout({8, false, 0xE0, 0x1C, 0x03}));      // 8-bit
  EXPECT_FALSE(SupportedXPixelLayout({32, false, 0xF0F000, 0xFF00, 0xFF}));  // split mask
  EXPECT_FALSE(SupportedXPixelLayout({32, false, 0, 0xFF00, 0xFF}));         // no red
}

}  // namespace
}  // namespace vistrel
