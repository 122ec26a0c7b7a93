// Files written here read back with the same pixels by ImageMagick, and
// files ImageMagick writes read here. Skipped where ImageMagick is absent.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "imaging/formats/picture_file.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

const char* const kConvert = "/usr/bin/convert";

bool HaveImageMagick() { return std::filesystem::exists(kConvert); }

int Shell(const std::string& command) { return std::system((command + " > /dev/null 2>&1").c_str()); }

// The first image of `file` as ImageMagick decodes it, as a 24-bit picture.
TPictureBitmap ReadWithImageMagick(const test::TScratchDir& dir, const std::string& file) {
  const std::string out = dir.File("im.ppm");
  EXPECT_EQ(Shell(std::string(kConvert) + " '" + dir.File(file) + "[0]' -background white -alpha remove -depth 8 '" +
                out + "'"),
            0)
      << file;
  TPictureBitmap picture;
  TIOParams params;
  LoadPictureFile(out, picture, params);
  return picture;
}

struct TCase {
  const char* file;
  int bits_per_sample;
  int samples_per_pixel;
  int max_difference;  // 0: lossless
  std::function<void(TIOParams&)> tweak;
};

class ImageMagickReads : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
  }
  test::TScratchDir dir_;
};

TEST_F(ImageMagickReads, OurColourFiles) {
  const TPictureBitmap photo = test::PhotoLike(67, 43);
  const TPictureBitmap shot = test::ScreenshotLike(67, 43);
  const std::vector<TCase> cases = {
      {"a.png", 8, 3, 0, nullptr},
      {"i.png", 8, 3, 0, [](TIOParams& p) { p.png_interlaced = true; p.png_filter = TPngFilter::Paeth; }},
      {"a.bmp", 8, 3, 0, nullptr},
      {"a.tif", 8, 3, 0, nullptr},
      {"l.tif", 8, 3, 0, [](TIOParams& p) { p.tiff_compression = TTiffCompression::Lzw; }},
      {"k.tif", 8, 3, 0, [](TIOParams& p) { p.tiff_compression = TTiffCompression::PackBits; }},
      {"a.pcx", 8, 3, 0, nullptr},
      {"a.dcx", 8, 3, 0, nullptr},
      {"a.tga", 8, 3, 0, nullptr},
      {"a.ppm", 8, 3, 0, nullptr},
      {"a.jp2", 8, 3, 0, nullptr},
      {"a.j2k", 8, 3, 0, nullptr},
      {"a.jpg", 8, 3, 40, [](TIOParams& p) { p.jpeg_quality = 95; }},
      {"p.jpg", 8, 3, 40, [](TIOParams& p) { p.jpeg_quality = 95; p.jpeg_progressive = true; }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.file);
    TIOParams params;
    if (c.tweak) c.tweak(params);
    SavePictureFile(dir_.File(c.file), photo, params);
    const TPictureBitmap seen = ReadWithImageMagick(dir_, c.file);
    ASSERT_EQ(seen.Width(), photo.Width());
    ASSERT_EQ(seen.Height(), photo.Height());
    EXPECT_LE(test::MaxChannelDifference(seen, photo), c.max_difference);
  }
  // Palette files of a picture with few colours are exact too.
  const std::vector<TCase> palettes = {
      {"8.bmp", 8, 1, 0, nullptr},
      {"4.bmp", 4, 1, 0, nullptr},
      {"r8.bmp", 8, 1, 0, [](TIOParams& p) { p.bmp_rle = true; }},
      {"r4.bmp", 4, 1, 0, [](TIOParams& p) { p.bmp_rle = true; }},
      {"8.pcx", 8, 1, 0, nullptr},
      {"4.pcx", 4, 1, 0, nullptr},
      {"8.png", 8, 1, 0, nullptr},
      {"4.png", 4, 1, 0, nullptr},
      {"8.tif", 8, 1, 0, nullptr},
      {"a.gif", 8, 1, 0, nullptr},
      {"i.gif", 8, 1, 0, [](TIOParams& p) { p.gif_interlaced = true; }},
      {"o.gif", 8, 1, 0, [](TIOParams& p) { p.gif_version = "GIF87a"; }},
      {"4.gif", 4, 1, 0, nullptr},
  };
  for (const TCase& c : palettes) {
    SCOPED_TRACE(c.file);
    TIOParams params;
    params.bits_per_sample = c.bits_per_sample;
    params.samples_per_pixel = c.samples_per_pixel;
    if (c.tweak) c.tweak(params);
    SavePictureFile(dir_.File(c.file), shot, params);
    EXPECT_EQ(ReadWithImageMagick(dir_, c.file), shot);
  }
}

TEST_F(ImageMagickReads, OurGifOfManyColoursMatchesOurOwnReading) {
  // Quantized: whatever palette we chose, ImageMagick must see the same.
  SavePictureFile(dir_.File("q.gif"), test::PhotoLike(300, 200), TIOParams{});
  TPictureBitmap ours;
  TIOParams params;
  LoadPictureFile(dir_.File("q.gif"), ours, params);
  EXPECT_EQ(ReadWithImageMagick(dir_, "q.gif"), ours);
}

TEST_F(ImageMagickReads, OurBlackAndWhiteFiles) {
  const TPictureBitmap mono = test::MonoPattern(53, 29);
  const TPictureBitmap expanded = test::Expand(mono);
  TIOParams params;
  params.bits_per_sample = 1;
  params.samples_per_pixel = 1;
  // Not PCX: ImageMagick takes a set bit of a 1-bit PCX as black, where
  // the header palette (black, white) and other readers take it as white.
  for (const char* file : {"m.png", "m.bmp", "m.gif", "m.pbm", "m.wbmp", "m.tif"}) {
    SCOPED_TRACE(file);
    SavePictureFile(dir_.File(file), mono, params);
    EXPECT_EQ(ReadWithImageMagick(dir_, file), expanded);
  }
  for (TTiffCompression c : {TTiffCompression::Ccitt1D, TTiffCompression::G3Fax1D, TTiffCompression::G3Fax2D,
                             TTiffCompression::G4Fax}) {
    SCOPED_TRACE(int(c));
    params.tiff_compression = c;
    SavePictureFile(dir_.File("f.tif"), mono, params);
    EXPECT_EQ(ReadWithImageMagick(dir_, "f.tif"), expanded);
  }
}

TEST_F(ImageMagickReads, OurIcon) {
  TPictureBitmap flat(64, 64);
  flat.Fill(MakeColor(200, 30, 60));
  for (int x = 0; x < 64; ++x) flat.SetPixel(x, x, kBlack);
  SavePictureFile(dir_.File("i.ico"), flat, TIOParams{});
  EXPECT_EQ(ReadWithImageMagick(dir_, "i.ico"), flat);
}

class WeRead : public ImageMagickReads {};

TEST_F(WeRead, FilesImageMagickWrites) {
  const TPictureBitmap photo = test::PhotoLike(45, 31);
  SavePictureFile(dir_.File("src.ppm"), photo, TIOParams{});
  // Not Targa: this ImageMagick writes its rows top-first under a
  // bottom-up origin; formats_reader_tests pins both origins instead.
  for (const char* out : {"w.png", "w.bmp", "w3.bmp", "w.tif", "w.pcx", "w.jp2", "w.ppm", "w.dcx"}) {
    SCOPED_TRACE(out);
    const std::string target = std::string(out) == "w3.bmp" ? "bmp3:" + dir_.File(out) : dir_.File(out);
    ASSERT_EQ(Shell(std::string(kConvert) + " '" + dir_.File("src.ppm") + "' '" + target + "'"), 0);
    TPictureBitmap loaded;
    TIOParams params;
    LoadPictureFile(dir_.File(out), loaded, params);
    EXPECT_EQ(loaded, photo);
  }
  const TPictureBitmap shot = test::ScreenshotLike(45, 31);
  SavePictureFile(dir_.File("shot.ppm"), shot, TIOParams{});
  for (const char* out : {"s.gif", "s.bmp", "s.pcx", "s.tif", "s.png", "s.ico"}) {
    SCOPED_TRACE(out);
    ASSERT_EQ(Shell(std::string(kConvert) + " '" + dir_.File("shot.ppm") + "' -type Palette '" + dir_.File(out) + "'"),
              0);
    TPictureBitmap loaded;
    TIOParams params;
    LoadPictureFile(dir_.File(out), loaded, params);
    EXPECT_EQ(loaded, shot);
  }
  // Grey 8-bit TIFF: the picture's own grey version.
  ASSERT_EQ(Shell(std::string(kConvert) + " '" + dir_.File("shot.ppm") + "' -colorspace Gray -write '" + dir_.File("g.tif") +
                  "' '" + dir_.File("g.ppm") + "'"),
            0);
  TPictureBitmap grey, grey_ppm;
  TIOParams grey_params;
  LoadPictureFile(dir_.File("g.tif"), grey, grey_params);
  LoadPictureFile(dir_.File("g.ppm"), grey_ppm, grey_params);
  EXPECT_EQ(grey, grey_ppm);
  ASSERT_EQ(Shell(std::string(kConvert) + " '" + dir_.File("shot.ppm") + "' -compress RLE '" + dir_.File("r.bmp") + "'"),
            0);
  TPictureBitmap loaded;
  TIOParams params;
  LoadPictureFile(dir_.File("r.bmp"), loaded, params);
  EXPECT_EQ(loaded, shot);
  ASSERT_EQ(Shell(std::string(kConvert) + " '" + dir_.File("shot.ppm") + "' -quality 95 '" + dir_.File("q.jpg") + "'"),
            0);
  LoadPictureFile(dir_.File("q.jpg"), loaded, params);
  EXPECT_LE(test::MaxChannelDifference(loaded, shot), 40);
}

TEST_F(WeRead, BlackAndWhiteFilesImageMagickWrites) {
  const TPictureBitmap mono = test::MonoPattern(37, 21);
  SavePictureFile(dir_.File("src.pbm"), mono, TIOParams{});
  for (const char* out : {"m.png", "m.bmp", "m.tif", "m.pcx", "m.wbmp", "m.pbm"}) {
    SCOPED_TRACE(out);
    ASSERT_EQ(Shell(std::string(kConvert) + " '" + dir_.File("src.pbm") + "' -monochrome '" + dir_.File(out) + "'"), 0);
    TPictureBitmap loaded;
    TIOParams params;
    LoadPictureFile(dir_.File(out), loaded, params);
    EXPECT_EQ(loaded.IsMono() ? loaded : test::Expand(mono), loaded.IsMono() ? mono : loaded);
  }
  ASSERT_EQ(Shell(std::string(kConvert) + " '" + dir_.File("src.pbm") + "' -compress Group4 '" + dir_.File("g4.tif") + "'"),
            0);
  TPictureBitmap loaded;
  TIOParams params;
  LoadPictureFile(dir_.File("g4.tif"), loaded, params);
  EXPECT_EQ(loaded, mono);
  EXPECT_EQ(params.tiff_compression, TTiffCompression::G4Fax);
}

}  // namespace
}  // namespace vistrel
