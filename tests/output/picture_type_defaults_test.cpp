#include "settings/picture_type_defaults.h"

#include <gtest/gtest.h>

namespace vistrel {
namespace {

TEST(PictureTypeDefaults, StoredChoicesReachTheWriterParameters) {
  PictureWindowOptions o;
  o.DefGifVer89 = false;
  o.DefGifTransp = true;
  o.DefGifTColor = 0x00FF0000;  // blue
  o.DefGifBColor = 0x000000FF;  // red
  o.DefJpgOptimal = true;
  o.DefJpgQuality = 42;
  o.DefJpgSmooth = 7;
  o.DefPngComp = 9;
  o.DefPngBColor = 0x00123456;
  TIOParams p;
  ApplyPictureTypeDefaults(o, p, [](int) { return TRgb{1, 2, 3}; });
  EXPECT_EQ(p.gif_version, "GIF87a");
  EXPECT_TRUE(p.gif_transparent);
  EXPECT_EQ(p.gif_transparent_color, (TRgb{0, 0, 255}));
  EXPECT_EQ(p.gif_background, (TRgb{255, 0, 0}));
  EXPECT_TRUE(p.jpeg_optimal);
  EXPECT_EQ(p.jpeg_quality, 42);
  EXPECT_EQ(p.jpeg_smoothing, 7);
  EXPECT_EQ(p.png_compression, 9);
  EXPECT_EQ(p.png_background, (TRgb{0x56, 0x34, 0x12}));
}

TEST(PictureTypeDefaults, SystemColoursResolveAndWildValuesAreHeld) {
  PictureWindowOptions o;
  o.DefPngBColor = std::int32_t(0x8000000F);  // the system's button face
  o.DefJpgQuality = 5000;
  o.DefPngComp = -3;
  TIOParams p;
  ApplyPictureTypeDefaults(o, p, [](int index) {
    return index == 15 ? TRgb{212, 208, 200} : TRgb{};
  });
  EXPECT_EQ(p.png_background, (TRgb{212, 208, 200}));
  EXPECT_EQ(p.jpeg_quality, 100);
  EXPECT_EQ(p.png_compression, 0);
  EXPECT_EQ(p.gif_version, "GIF89a");
}

}  // namespace
}  // namespace vistrel
