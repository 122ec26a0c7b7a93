// The GIF writer's fixed bytes, its LZW data and its parameters.
#include <gtest/gtest.h>

#include "imaging/formats/picture_file.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes SaveGif(const test::TScratchDir& dir, const TPictureBitmap& picture, const TIOParams& params,
              const std::string& name = "p.gif") {
  SavePictureFile(dir.File(name), picture, params);
  return test::ReadBytes(dir.File(name));
}

std::uint16_t LE16(const Bytes& b, std::size_t at) { return std::uint16_t(b[at] | b[at + 1] << 8); }

// A capture saved as GIF: screen descriptor with a 256-entry table, graphic
// control extension, image descriptor, LZW data, empty comment, trailer.
void ExpectCaptureLayout(const Bytes& b, const char* version, int width, int height) {
  ASSERT_GT(b.size(), 13u + 768 + 8 + 10 + 4);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 6), version);
  EXPECT_EQ(LE16(b, 6), width);
  EXPECT_EQ(LE16(b, 8), height);
  EXPECT_EQ(b[10], 0xF7);  // global table, resolution 8, 256 entries
  EXPECT_EQ(b[12], 0);
  const std::size_t gce = 13 + 768;
  EXPECT_EQ(b[gce], 0x21);
  EXPECT_EQ(b[gce + 1], 0xF9);
  EXPECT_EQ(b[gce + 2], 0x04);
  EXPECT_EQ(b[gce + 3], 0x08);  // restore to background, no transparency
  EXPECT_EQ(LE16(b, gce + 4), 0);
  EXPECT_EQ(b[gce + 7], 0x00);
  const std::size_t desc = gce + 8;
  EXPECT_EQ(b[desc], 0x2C);
  EXPECT_EQ(LE16(b, desc + 1), 0);
  EXPECT_EQ(LE16(b, desc + 3), 0);
  EXPECT_EQ(LE16(b, desc + 5), width);
  EXPECT_EQ(LE16(b, desc + 7), height);
  EXPECT_EQ(b[desc + 9], 0x00);
  EXPECT_EQ(b[desc + 10], 8);  // code size
  // Sub-blocks of at most 254 bytes up to the zero block.
  std::size_t at = desc + 11;
  while (b.at(at) != 0) {
    EXPECT_LE(b[at], 254);
    at += b[at] + 1u;
  }
  EXPECT_EQ(Bytes(b.begin() + long(at), b.end()), (Bytes{0x00, 0x21, 0xFE, 0x00, 0x3B}));
}

TEST(GifWriter, CaptureHasFullPaletteControlExtensionAndEmptyComment) {
  test::TScratchDir dir;
  TIOParams params;
  const TPictureBitmap photo = test::PhotoLike(300, 200);
  ExpectCaptureLayout(SaveGif(dir, photo, params), "GIF89a", 300, 200);
  params.gif_version = "GIF87a";
  ExpectCaptureLayout(SaveGif(dir, photo, params), "GIF87a", 300, 200);
}

TEST(GifWriter, FewColoursKeepTheirFirstMetOrderAndBlackFill) {
  test::TScratchDir dir;
  TPictureBitmap p(4, 2);
  p.Fill(MakeColor(10, 20, 30));
  p.SetPixel(3, 0, MakeColor(200, 100, 50));
  p.SetPixel(0, 1, MakeColor(1, 2, 3));
  const Bytes b = SaveGif(dir, p, TIOParams{});
  EXPECT_EQ(Bytes(b.begin() + 13, b.begin() + 22), (Bytes{10, 20, 30, 200, 100, 50, 1, 2, 3}));
  EXPECT_EQ(Bytes(b.begin() + 22, b.begin() + 13 + 768), Bytes(768 - 9, 0));
}

TEST(GifWriter, TransparencyBackgroundDelayAndComments) {
  test::TScratchDir dir;
  TPictureBitmap p(8, 8);
  p.Fill(MakeColor(255, 0, 0));
  p.SetPixel(1, 1, MakeColor(0, 0, 250));
  p.SetPixel(2, 2, MakeColor(0, 255, 0));
  TIOParams params;
  params.gif_transparent = true;
  params.gif_transparent_color = {0, 240, 10};  // nearest is green, index 2
  params.gif_background = {0, 0, 255};          // nearest is blue, index 1
  params.gif_delay = 0x1234;
  params.gif_comments = {"hello", std::string(300, 'x')};
  const Bytes b = SaveGif(dir, p, params);
  EXPECT_EQ(b[11], 1);
  EXPECT_EQ(Bytes(b.begin() + 781, b.begin() + 789), (Bytes{0x21, 0xF9, 4, 0x09, 0x34, 0x12, 2, 0}));

  TPictureBitmap loaded;
  TIOParams read;
  LoadPictureFile(dir.File("p.gif"), loaded, read);
  EXPECT_EQ(loaded, p);
  EXPECT_TRUE(read.gif_transparent);
  EXPECT_EQ(read.gif_transparent_color, (TRgb{0, 255, 0}));
  EXPECT_EQ(read.gif_background, (TRgb{0, 0, 250}));
  EXPECT_EQ(read.gif_delay, 0x1234);
  // All comments share one extension, so they read back as one text.
  EXPECT_EQ(read.gif_comments, std::vector<std::string>{"hello" + std::string(300, 'x')});
  EXPECT_EQ(read.bits_per_sample, 8);
}

TEST(GifWriter, BlackAndWhiteFileHasTwoEntriesAndCodeSizeTwo) {
  test::TScratchDir dir;
  TIOParams params;
  params.bits_per_sample = 1;
  const TPictureBitmap mono = test::MonoPattern(21, 13);
  const Bytes b = SaveGif(dir, mono, params);
  EXPECT_EQ(b[10], 0x80);
  EXPECT_EQ(Bytes(b.begin() + 13, b.begin() + 19), (Bytes{0, 0, 0, 255, 255, 255}));
  EXPECT_EQ(b[19 + 8 + 10], 2);
  TPictureBitmap loaded;
  TIOParams read;
  LoadPictureFile(dir.File("p.gif"), loaded, read);
  EXPECT_EQ(loaded, test::Expand(mono));
}

TEST(GifWriter, LzwSurvivesTableResetsAndInterlacing) {
  test::TScratchDir dir;
  TIOParams params;
  // Few colours in noisy order fill the 4096-code table many times over.
  TPictureBitmap p(509, 301);
  unsigned seed = 7;
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x) {
      seed = seed * 1103515245 + 12345;
      p.SetPixel(x, y, MakeColor(std::uint8_t((seed >> 16) % 200), 0, std::uint8_t(x & 0x30)));
    }
  for (bool interlaced : {false, true}) {
    params.gif_interlaced = interlaced;
    SaveGif(dir, p, params);
    TPictureBitmap loaded;
    TIOParams read;
    LoadPictureFile(dir.File("p.gif"), loaded, read);
    EXPECT_EQ(read.gif_interlaced, interlaced);
    ASSERT_EQ(loaded.Width(), p.Width());
    // More than 256 colours: every pixel maps to a near palette colour.
    EXPECT_LE(test::MaxChannelDifference(loaded, p), 40);
  }
}

TEST(GifWriter, UpperCaseExtensionWritesGif) {
  test::TScratchDir dir;
  const Bytes b = SaveGif(dir, test::ScreenshotLike(20, 10), TIOParams{}, "SHOT.GIF");
  EXPECT_EQ(std::string(b.begin(), b.begin() + 6), "GIF89a");
}

}  // namespace
}  // namespace vistrel
