// GIF files of other encoders: the deferred clear code, code sizes above 8,
// frames made of several images with their own colour tables, disposal and
// transparency, empty images and zero-delay animations.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>

#include "imaging/formats/picture_file.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// LZW as GIF encoders write it. With `defer_clear` a full table is used on
// without a clear code, as GIF89a allows; otherwise a clear code restarts it.
Bytes Lzw(const Bytes& indices, int code_size, bool defer_clear) {
  Bytes out;
  std::uint32_t accum = 0;
  int bits = 0;
  const int clear = 1 << code_size, end = clear + 1;
  int width = code_size + 1, next = clear + 2;
  std::map<std::pair<int, int>, int> table;
  auto put = [&](int code) {
    accum |= std::uint32_t(code) << bits;
    bits += width;
    while (bits >= 8) {
      out.push_back(std::uint8_t(accum));
      accum >>= 8;
      bits -= 8;
    }
    if (next > (1 << width) - 1 && width < 12) ++width;
  };
  put(clear);
  int prefix = indices[0];
  for (std::size_t i = 1; i < indices.size(); ++i) {
    const int pixel = indices[i];
    const auto found = table.find({prefix, pixel});
    if (found != table.end()) {
      prefix = found->second;
      continue;
    }
    put(prefix);
    if (next < 4096) {
      table[{prefix, pixel}] = next++;
    } else if (!defer_clear) {
      put(clear);
      table.clear();
      next = clear + 2;
      width = code_size + 1;
    }
    prefix = pixel;
  }
  put(prefix);
  put(end);
  if (bits > 0) out.push_back(std::uint8_t(accum));
  return out;
}

struct TImage {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<TColor> local;  // empty: the global table
  Bytes indices;
  bool control = false;  // a graphic control extension before the image
  int disposal = 0;
  int transparent = -1;
  int delay = 0;
  bool defer_clear = false;
  int code_size = 0;  // 0: from the colour table
};

void Table(Bytes& b, const std::vector<TColor>& colors) {
  for (TColor c : colors) b.insert(b.end(), {RedOf(c), GreenOf(c), BlueOf(c)});
}

int TableBits(const std::vector<TColor>& colors) {
  int bits = 1;
  while ((std::size_t(1) << bits) < colors.size()) ++bits;
  return bits;
}

// With `loop`, a NETSCAPE2.0 extension makes the images an endless animation.
Bytes Gif(int width, int height, const std::vector<TColor>& global, const std::vector<TImage>& images,
          bool loop = false) {
  Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
  auto le16 = [&b](int v) { b.insert(b.end(), {std::uint8_t(v), std::uint8_t(v >> 8)}); };
  le16(width);
  le16(height);
  const int gbits = TableBits(global);
  b.push_back(global.empty() ? 0 : std::uint8_t(0x80 | (gbits - 1) << 4 | (gbits - 1)));
  b.push_back(0);  // background: entry 0
  b.push_back(0);
  Table(b, global);
  if (loop) {
    b.insert(b.end(), {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0});
  }
  for (const TImage& im : images) {
    if (im.control) {
      b.insert(b.end(), {0x21, 0xF9, 0x04, std::uint8_t(im.disposal << 2 | (im.transparent >= 0 ? 1 : 0))});
      le16(im.delay);
      b.insert(b.end(), {std::uint8_t(std::max(im.transparent, 0)), 0});
    }
    b.push_back(0x2C);
    le16(im.left);
    le16(im.top);
    le16(im.width);
    le16(im.height);
    const int lbits = TableBits(im.local);
    b.push_back(im.local.empty() ? 0 : std::uint8_t(0x80 | (lbits - 1)));
    Table(b, im.local);
    const int code_size = im.code_size ? im.code_size : std::max(im.local.empty() ? gbits : lbits, 2);
    b.push_back(std::uint8_t(code_size));
    const Bytes data = im.indices.empty() ? Bytes{} : Lzw(im.indices, code_size, im.defer_clear);
    for (std::size_t at = 0; at < data.size(); at += 255) {
      const std::size_t n = std::min<std::size_t>(255, data.size() - at);
      b.push_back(std::uint8_t(n));
      b.insert(b.end(), data.begin() + long(at), data.begin() + long(at + n));
    }
    b.push_back(0);
  }
  b.push_back(0x3B);
  return b;
}

class GifReader : public ::testing::Test {
 protected:
  TPictureBitmap Read(const Bytes& gif) {
    test::WriteBytes(dir_.File("r.gif"), gif);
    TPictureBitmap p;
    LoadPictureFile(dir_.File("r.gif"), p, params_);
    return p;
  }
  test::TScratchDir dir_;
  TIOParams params_;
};

TEST_F(GifReader, FullTableUsedOnWithoutAClearCode) {
  std::vector<TColor> palette;
  for (int i = 0; i < 256; ++i) palette.push_back(MakeColor(std::uint8_t(i), std::uint8_t(i * 7), std::uint8_t(255 - i)));
  TImage im;
  im.width = 160;
  im.height = 120;
  std::mt19937 rng(5);
  for (int i = 0; i < im.width * im.height; ++i)
    im.indices.push_back(std::uint8_t(i % 3 == 0 ? rng() % 256 : (i / 7) % 40));
  im.defer_clear = true;
  const TPictureBitmap p = Read(Gif(im.width, im.height, palette, {im}));
  ASSERT_EQ(p.Width(), im.width);
  for (int y = 0; y < im.height; ++y)
    for (int x = 0; x < im.width; ++x)
      ASSERT_EQ(p.Pixel(x, y), palette[im.indices[std::size_t(y) * im.width + x]]) << x << "," << y;
  // ImageMagick, whose decoder takes the deferred clear too, sees the same.
  if (std::filesystem::exists("/usr/bin/convert")) {
    const std::string ppm = dir_.File("im.ppm");
    ASSERT_EQ(std::system(("/usr/bin/convert '" + dir_.File("r.gif") + "' '" + ppm + "' >/dev/null 2>&1").c_str()), 0);
    TPictureBitmap theirs;
    TIOParams read;
    LoadPictureFile(ppm, theirs, read);
    EXPECT_EQ(theirs, p);
  }
  // The same image with clear codes reads the same.
  im.defer_clear = false;
  EXPECT_EQ(Read(Gif(im.width, im.height, palette, {im})), p);
}

// 512 colours in one frame: two images side by side, each with its own
// 256-colour table.
TEST_F(GifReader, ImagesOfOneFrameAreComposedOnTheScreen) {
  std::vector<TImage> halves(2);
  TPictureBitmap expected(32, 16);
  for (int h = 0; h < 2; ++h) {
    TImage& im = halves[std::size_t(h)];
    im.left = 16 * h;
    im.width = 16;
    im.height = 16;
    for (int i = 0; i < 256; ++i) {
      im.local.push_back(MakeColor(std::uint8_t(i), std::uint8_t(h * 128), std::uint8_t(h ? 255 - i : i / 2)));
      im.indices.push_back(std::uint8_t(i));
      expected.SetPixel(16 * h + i % 16, i / 16, im.local.back());
    }
  }
  halves[1].control = true;  // a control extension with no delay stays in the frame
  EXPECT_EQ(Read(Gif(32, 16, {kBlack, kWhite}, halves)), expected);
  EXPECT_EQ(params_.samples_per_pixel, 1);
}

TEST_F(GifReader, DisposalAndTransparencyShapeTheFrame) {
  const std::vector<TColor> global = {MakeColor(9, 9, 9), MakeColor(200, 0, 0), MakeColor(0, 200, 0), kWhite};
  TImage red{0, 0, 4, 2, {}, Bytes(8, 1), true, 2, -1, 0};   // then restore to background
  TImage green{0, 0, 2, 2, {}, Bytes(4, 2), true, 0, -1, 0};
  TPictureBitmap p = Read(Gif(4, 2, global, {red, green}));
  EXPECT_EQ(p.Pixel(0, 0), global[2]);
  EXPECT_EQ(p.Pixel(3, 1), global[0]);  // red went back to the background
  // "Do not dispose": the red shows where the green image is transparent.
  red.disposal = 1;
  green.transparent = 2;
  green.indices = {2, 3, 3, 2};
  p = Read(Gif(4, 2, global, {red, green}));
  EXPECT_EQ(p.Pixel(0, 0), global[1]);
  EXPECT_EQ(p.Pixel(1, 0), kWhite);
  EXPECT_EQ(p.Pixel(3, 1), global[1]);
  // "Restore to previous" brings back what was under the image.
  TImage white{2, 0, 2, 2, {}, Bytes(4, 3), true, 3, -1, 0};
  TImage corner{0, 0, 1, 1, {}, Bytes(1, 2), true, 0, -1, 0};
  p = Read(Gif(4, 2, global, {red, white, corner}));
  EXPECT_EQ(p.Pixel(3, 0), global[1]);
  EXPECT_EQ(p.Pixel(0, 0), global[2]);
}

// An animation shows its first frame only: the frame ends with the first
// image shown for a while.
TEST_F(GifReader, AnimationShowsItsFirstFrame) {
  const std::vector<TColor> global = {kBlack, MakeColor(200, 0, 0), MakeColor(0, 200, 0), kWhite};
  TImage first{0, 0, 3, 3, {}, Bytes(9, 1), true, 1, -1, 50};
  TImage second{0, 0, 3, 3, {}, Bytes(9, 2), true, 1, -1, 50};
  const TPictureBitmap p = Read(Gif(3, 3, global, {first, second}));
  EXPECT_EQ(p.Pixel(1, 1), global[1]);
  EXPECT_EQ(params_.gif_delay, 50);
}

// Browsers take minimum code sizes up to 11 (giflib stops at 8), deferred
// clear or not, and in a later image as well as in the first.
TEST_F(GifReader, CodeSizesAboveEightAreRead) {
  const std::vector<TColor> global = {kBlack, MakeColor(200, 0, 0), MakeColor(0, 200, 0), kWhite};
  TImage im{0, 0, 90, 70, {}, {}, false, 0, -1, 0};
  for (int i = 0; i < im.width * im.height; ++i) im.indices.push_back(std::uint8_t((i / 5 + i / 311) % 4));
  const TPictureBitmap expected = Read(Gif(90, 70, global, {im}));
  for (int code_size : {9, 10, 11}) {
    for (bool defer : {false, true}) {
      SCOPED_TRACE(code_size);
      im.code_size = code_size;
      im.defer_clear = defer;
      EXPECT_EQ(Read(Gif(90, 70, global, {im})), expected);
    }
    // Second image of the frame, over a first in the normal code size.
    TImage corner{0, 0, 2, 2, {}, Bytes(4, 3), false, 0, -1, 0};
    im.defer_clear = false;
    TPictureBitmap composed = expected;
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 2; ++x) composed.SetPixel(x, y, kWhite);
    EXPECT_EQ(Read(Gif(90, 70, global, {im, corner})), composed);
  }
}

// An image without pixels or without data leaves the logical screen as it
// was: the background, or the transparent colour when the image has one.
TEST_F(GifReader, EmptyImagesLeaveTheScreenEmpty) {
  const std::vector<TColor> global = {MakeColor(10, 20, 30), kWhite, MakeColor(0, 200, 0), kBlack};
  TPictureBitmap background(5, 4);
  background.Fill(global[0]);
  for (const auto& [w, h] : {std::pair{0, 4}, std::pair{4, 0}, std::pair{0, 0}, std::pair{3, 3}}) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    TImage empty{0, 0, w, h, {}, {}, false, 0, -1, 0};
    EXPECT_EQ(Read(Gif(5, 4, global, {empty})), background);
    EXPECT_FALSE(params_.gif_transparent);
    empty.control = true;
    empty.transparent = 2;
    TPictureBitmap green(5, 4);
    green.Fill(global[2]);
    EXPECT_EQ(Read(Gif(5, 4, global, {empty})), green);
    EXPECT_TRUE(params_.gif_transparent);
  }
  // An empty image after a good one in the same frame draws nothing.
  TImage good{0, 0, 2, 2, {}, Bytes(4, 1), false, 0, -1, 0};
  TImage empty{0, 0, 0, 0, {}, {}, false, 0, -1, 0};
  TPictureBitmap expected(2, 2);
  expected.Fill(kWhite);
  EXPECT_EQ(Read(Gif(2, 2, global, {good, empty})), expected);
}

// Images without delays in a looping animation are its frames: the first
// is shown, as viewers show it. Without the loop, images that do not cover
// the screen compose one frame.
TEST_F(GifReader, ZeroDelayAnimationShowsItsFirstImage) {
  const std::vector<TColor> global = {kBlack, MakeColor(200, 0, 0), MakeColor(0, 200, 0), kWhite};
  const TImage first{0, 0, 3, 3, {}, Bytes(9, 1), true, 1, -1, 0};
  const TImage second{1, 1, 2, 2, {}, Bytes(4, 2), true, 1, -1, 0};
  const TPictureBitmap p = Read(Gif(3, 3, global, {first, second}, true));
  EXPECT_EQ(p.Pixel(2, 2), global[1]);
  EXPECT_EQ(p.Pixel(0, 0), global[1]);
  EXPECT_EQ(Read(Gif(3, 3, global, {first, second})).Pixel(2, 2), global[2]);
  // A second image over the whole screen is the next frame, loop or not;
  // comments after it are still found.
  const TImage whole{0, 0, 3, 3, {}, Bytes(9, 2), true, 1, -1, 0};
  Bytes gif = Gif(3, 3, global, {first, whole});
  gif.pop_back();
  gif.insert(gif.end(), {0x21, 0xFE, 2, 'h', 'i', 0, 0x3B});
  EXPECT_EQ(Read(gif).Pixel(2, 2), global[1]);
  EXPECT_EQ(params_.gif_comments, std::vector<std::string>{"hi"});
}

}  // namespace
}  // namespace vistrel
