// Pictures written by each writer read back with the same pixels by our
// own reader of that format.
#include <gtest/gtest.h>

#include "imaging/formats/picture_file.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

using test::TScratchDir;

TPictureBitmap SaveAndLoad(const std::string& path, const TPictureBitmap& picture, const TIOParams& params,
                           TIOParams* read_back = nullptr) {
  SavePictureFile(path, picture, params);
  TPictureBitmap loaded;
  TIOParams read_params;
  LoadPictureFile(path, loaded, read_params);
  if (read_back) *read_back = read_params;
  return loaded;
}

TIOParams Colours(int bits) {
  TIOParams p;
  p.bits_per_sample = bits;
  p.samples_per_pixel = 1;
  return p;
}

// Lossless 24-bit writers keep every pixel of a photograph.
TEST(RoundTrip, LosslessTrueColourFormatsKeepEveryPixel) {
  TScratchDir dir;
  TIOParams params;
  params.dpi_x = params.dpi_y = 150;
  const TPictureBitmap photo = test::PhotoLike(61, 27);
  for (const char* name : {"a.png", "a.bmp", "a.dib", "a.tif", "a.tiff", "a.pcx", "a.dcx", "a.tga", "a.ppm",
                           "a.pxm", "a.jp2", "a.j2k", "a.jpc"}) {
    SCOPED_TRACE(name);
    TIOParams read;
    EXPECT_EQ(SaveAndLoad(dir.File(name), photo, params, &read), photo);
  }
  for (const char* name : {"b.png", "b.bmp", "b.tif", "b.pcx"}) {
    SCOPED_TRACE(name);
    TIOParams read;
    SaveAndLoad(dir.File(name), photo, params, &read);
    EXPECT_EQ(read.dpi_x, 150);
    EXPECT_EQ(read.dpi_y, 150);
  }
}

TEST(RoundTrip, TiffCompressionsKeepPixelsAndFallBackForColour) {
  TScratchDir dir;
  const TPictureBitmap photo = test::PhotoLike(40, 30);
  const TPictureBitmap mono = test::MonoPattern(77, 19);
  for (TTiffCompression c : {TTiffCompression::None, TTiffCompression::Ccitt1D, TTiffCompression::G3Fax1D,
                             TTiffCompression::G3Fax2D, TTiffCompression::G4Fax, TTiffCompression::Lzw,
                             TTiffCompression::PackBits}) {
    SCOPED_TRACE(int(c));
    TIOParams params;
    params.tiff_compression = c;
    TIOParams read;
    EXPECT_EQ(SaveAndLoad(dir.File("m.tif"), mono, params, &read), mono);
    EXPECT_EQ(read.tiff_compression, c);
    EXPECT_EQ(read.tiff_photometric, TTiffPhotometric::BlackIsZero);
    EXPECT_EQ(SaveAndLoad(dir.File("c.tif"), photo, params, &read), photo);
    const bool fax = c != TTiffCompression::Lzw && c != TTiffCompression::PackBits;
    EXPECT_EQ(read.tiff_compression, fax ? TTiffCompression::None : c);
  }
  TIOParams jpeg;
  jpeg.tiff_compression = TTiffCompression::Jpeg;
  jpeg.jpeg_quality = 95;
  TIOParams read;
  EXPECT_LE(test::MaxChannelDifference(SaveAndLoad(dir.File("j.tif"), photo, jpeg, &read), photo), 40);
  EXPECT_EQ(read.tiff_compression, TTiffCompression::Jpeg);
}

TEST(RoundTrip, BlackAndWhiteStaysOneBitWhereTheFormatHasIt) {
  TScratchDir dir;
  const TPictureBitmap mono = test::MonoPattern(45, 17);
  TIOParams bw = Colours(1);
  for (const char* name : {"m.png", "m.bmp", "m.tif", "m.pcx", "m.pbm", "m.pxm", "m.wbmp"}) {
    SCOPED_TRACE(name);
    const TPictureBitmap loaded = SaveAndLoad(dir.File(name), mono, bw);
    EXPECT_TRUE(loaded.IsMono());
    EXPECT_EQ(loaded, mono);
  }
  for (const char* name : {"m.gif", "m.ppm", "m.tga", "m.jp2"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(SaveAndLoad(dir.File(name), mono, bw), test::Expand(mono));
  }
}

TEST(RoundTrip, PaletteFormatsKeepPicturesOfFewColours) {
  TScratchDir dir;
  const TPictureBitmap shot = test::ScreenshotLike(83, 41);  // six colours
  for (int bits : {4, 8}) {
    for (const char* name : {"s.bmp", "s.pcx", "s.png", "s.tif", "s.gif"}) {
      SCOPED_TRACE(std::string(name) + " " + std::to_string(bits));
      TIOParams params = Colours(bits);
      TIOParams read;
      EXPECT_EQ(SaveAndLoad(dir.File(name), shot, params, &read), shot);
      EXPECT_EQ(read.samples_per_pixel, 1);
    }
  }
  TIOParams rle = Colours(8);
  rle.bmp_rle = true;
  TIOParams read;
  EXPECT_EQ(SaveAndLoad(dir.File("r.bmp"), shot, rle, &read), shot);
  EXPECT_TRUE(read.bmp_rle);
  rle.bits_per_sample = 4;
  EXPECT_EQ(SaveAndLoad(dir.File("r4.rle"), shot, rle, &read), shot);
  rle.pcx_rle = false;
  EXPECT_EQ(SaveAndLoad(dir.File("u.pcx"), shot, rle, &read), shot);
  EXPECT_FALSE(read.pcx_rle);
}

TEST(RoundTrip, LossyFormatsStayClose) {
  TScratchDir dir;
  const TPictureBitmap photo = test::PhotoLike(64, 48);
  TIOParams params;
  params.jpeg_quality = 95;
  EXPECT_LE(test::MaxChannelDifference(SaveAndLoad(dir.File("p.jpg"), photo, params), photo), 40);
  params.jpeg_progressive = true;
  params.jpeg_optimal = true;
  TIOParams read;
  EXPECT_LE(test::MaxChannelDifference(SaveAndLoad(dir.File("p.jpeg"), photo, params, &read), photo), 40);
  EXPECT_TRUE(read.jpeg_progressive);
  params.j2k_rate = 0.25;
  EXPECT_LE(test::MaxChannelDifference(SaveAndLoad(dir.File("p.jp2"), photo, params), photo), 80);
}

TEST(RoundTrip, JpegMarkersOfALoadedFileAreWrittenBack) {
  TScratchDir dir;
  TIOParams params;
  params.jpeg_markers = {{0xFE, {'h', 'i'}}, {0xE1, {'E', 'x', 'i', 'f', 0, 0, 1, 2}}};
  TIOParams read;
  SaveAndLoad(dir.File("m.jpg"), test::PhotoLike(16, 16), params, &read);
  ASSERT_EQ(read.jpeg_markers.size(), 3u);  // JFIF, then ours
  EXPECT_EQ(read.jpeg_markers[0].code, 0xE0);
  EXPECT_EQ(read.jpeg_markers[1], params.jpeg_markers[0]);
  EXPECT_EQ(read.jpeg_markers[2], params.jpeg_markers[1]);
  // Saved again: the JFIF header is not doubled.
  SaveAndLoad(dir.File("m2.jpg"), test::PhotoLike(16, 16), read, &read);
  EXPECT_EQ(read.jpeg_markers.size(), 3u);
}

TEST(RoundTrip, A256ColourGifSavedAsBmpIsAnEightBitBmpWithPalette) {
  TScratchDir dir;
  SavePictureFile(dir.File("g.gif"), test::PhotoLike(50, 40), TIOParams{});
  TPictureBitmap picture;
  TIOParams params;
  LoadPictureFile(dir.File("g.gif"), picture, params);
  SavePictureFile(dir.File("g.bmp"), picture, params);
  const auto b = test::ReadBytes(dir.File("g.bmp"));
  EXPECT_EQ(b[28], 8);
  EXPECT_EQ(b[10] | b[11] << 8, 14 + 40 + 1024);
  TPictureBitmap again;
  LoadPictureFile(dir.File("g.bmp"), again, params);
  EXPECT_EQ(again, picture);
}

TEST(RoundTrip, IconIsOne64By64ImageWhateverThePictureSize) {
  TScratchDir dir;
  TPictureBitmap flat(300, 20);
  flat.Fill(MakeColor(12, 200, 99));
  TPictureBitmap expected(64, 64);
  expected.Fill(MakeColor(12, 200, 99));
  TIOParams read;
  EXPECT_EQ(SaveAndLoad(dir.File("i.ico"), flat, TIOParams{}, &read), expected);
  EXPECT_EQ(read.ico_images, std::vector<TIcoImage>{TIcoImage{}});
  TIOParams many;
  many.ico_images = {{16, 16, 4}, {48, 32, 24}, {256, 256, 1}};
  const TPictureBitmap loaded = SaveAndLoad(dir.File("m.ICO"), flat, many, &read);
  EXPECT_EQ(loaded.Width(), 256);  // the largest image is shown
  EXPECT_EQ(read.ico_images, many.ico_images);
}

}  // namespace
}  // namespace vistrel
