#include <wayland-client-protocol.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/wayland/wayland_cursor_source.h"
#include "platform/wayland/wayland_display.h"
#include "platform/wayland/wayland_screen_source.h"

namespace vistrel {
namespace {

// A 4 x 3 output frame whose pixel (x, y) has red x, green y, blue 7, in
// the byte order of `format`, rows `stride` bytes apart.
std::vector<std::uint8_t> FramePixels(bool red_first, bool bottom_up, std::size_t stride) {
  std::vector<std::uint8_t> pixels(stride * 3, 0xEE);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      std::uint8_t* p = pixels.data() + std::size_t(bottom_up ? 2 - y : y) * stride + x * 4;
      p[0] = red_first ? std::uint8_t(x) : 7;
      p[1] = std::uint8_t(y);
      p[2] = red_first ? 7 : std::uint8_t(x);
      p[3] = 0x55;  // unused or alpha: never shown
    }
  return pixels;
}

TEST(WaylandPixels, OutputFramesLandUprightInEveryByteOrder) {
  constexpr std::uint32_t kXbgr8888 = 0x34324258;
  for (const auto& [format, red_first] : {std::pair{std::uint32_t(WL_SHM_FORMAT_XRGB8888), false},
                                          std::pair{std::uint32_t(WL_SHM_FORMAT_ARGB8888), false},
                                          std::pair{kXbgr8888, true}})
    for (bool bottom_up : {false, true}) {
      const std::vector<std::uint8_t> pixels = FramePixels(red_first, bottom_up, 20);
      const TOutputFrame frame{pixels.data(), 4, 3, 20, format, bottom_up};
      // The output lies at (100, 50); the part asked for is its right
      // bottom 3 x 2, placed at (1, 1) of a picture with a border.
      TPictureBitmap out(5, 4);
      ASSERT_TRUE(CopyFramePart(frame, WL_OUTPUT_TRANSFORM_NORMAL, {100, 50, 104, 53},
                                {101, 51, 104, 53}, out, 1, 1));
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
          const bool inside = x >= 1 && x < 4 && y >= 1 && y < 3;
          EXPECT_EQ(out.Pixel(x, y), inside ? MakeColor(std::uint8_t(x), std::uint8_t(y), 7) : kBlack)
              << format << " " << bottom_up << " at " << x << "," << y;
        }
    }
}

TEST(WaylandPixels, FramesItCannotPlaceAreRefused) {
  const std::vector<std::uint8_t> pixels = FramePixels(false, false, 16);
  TPictureBitmap out(4, 3);
  const TOutputFrame rgb565{pixels.data(), 4, 3, 16, WL_SHM_FORMAT_RGB565, false};
  EXPECT_FALSE(CopyFramePart(rgb565, WL_OUTPUT_TRANSFORM_NORMAL, {0, 0, 4, 3}, {0, 0, 4, 3}, out, 0, 0));
  const TOutputFrame xrgb{pixels.data(), 4, 3, 16, WL_SHM_FORMAT_XRGB8888, false};
  EXPECT_FALSE(CopyFramePart(xrgb, 8, {0, 0, 4, 3}, {0, 0, 4, 3}, out, 0, 0));  // no such transform
  // A turned output is as high as its frame is wide.
  EXPECT_FALSE(CopyFramePart(xrgb, WL_OUTPUT_TRANSFORM_90, {0, 0, 4, 3}, {0, 0, 4, 3}, out, 0, 0));
  // An output whose frame is not its size in the layout (a mode change
  // between the two questions).
  EXPECT_FALSE(CopyFramePart(xrgb, WL_OUTPUT_TRANSFORM_NORMAL, {0, 0, 8, 6}, {0, 0, 4, 3}, out, 0, 0));
}

TEST(WaylandPixels, TheCursorIsWhereTheCopyWithItDiffers) {
  TPictureBitmap without_cursor(30, 20), with_cursor(30, 20);
  without_cursor.Fill(MakeColor(10, 20, 30));
  with_cursor.Fill(MakeColor(10, 20, 30));
  EXPECT_FALSE(CursorFromDifference(without_cursor, with_cursor, 0, 0));
  // An arrow tip at (5, 4) and a pixel at (7, 9): a cursor of 3 x 6 pixels,
  // clear where it showed the background's colour.
  with_cursor.SetPixel(5, 4, kWhite);
  with_cursor.SetPixel(7, 9, MakeColor(1, 2, 3));
  const std::optional<TCursorImage> cursor = CursorFromDifference(without_cursor, with_cursor, 1000, 50);
  ASSERT_TRUE(cursor);
  EXPECT_EQ(cursor->x, 1005);
  EXPECT_EQ(cursor->y, 54);
  EXPECT_EQ(cursor->hotspot_x, 0);
  EXPECT_EQ(cursor->hotspot_y, 0);
  ASSERT_EQ(cursor->width, 3);
  ASSERT_EQ(cursor->height, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 3; ++x) {
      const std::uint32_t expected = x == 0 && y == 0   ? 0xFFFFFFFFu
                                     : x == 2 && y == 5 ? 0xFF010203u
                                                        : 0u;
      EXPECT_EQ(cursor->argb[std::size_t(y * 3 + x)], expected) << x << "," << y;
    }
}

}  // namespace
}  // namespace vistrel
