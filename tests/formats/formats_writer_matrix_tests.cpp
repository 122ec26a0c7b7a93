// Every writer takes every picture the engine holds, at every depth the
// parameters can ask for: the file reads back (here, and with ImageMagick
// where it reads the format right) with the pixels kept wherever the file
// can hold them.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "imaging/color_quantizer.h"
#include "imaging/formats/picture_file.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

struct TDepth {
  int bits, samples;
};
const TDepth kDepths[] = {{1, 1}, {2, 1}, {4, 1}, {8, 1}, {1, 3}, {4, 3}, {5, 3}, {8, 3}};

enum class TKeeps {
  Exact,        // every picture, every depth (depth ignored or lossless)
  ByDepth,      // follows bits and samples: B/W, palette or full colour
  BlackWhite,   // a black-and-white file whatever is asked
  Grey,         // a grey file
  Lossy,        // close, not exact
  Written,      // no reader here: only written
  IconSized,    // resampled to the icon's size
};

struct TWriterCase {
  const char* ext;
  TKeeps keeps;
  bool imagemagick;  // ImageMagick decodes our files of this kind right
};

const TWriterCase kWriters[] = {
    {"png", TKeeps::ByDepth, true},   {"bmp", TKeeps::ByDepth, true},   {"tif", TKeeps::ByDepth, true},
    {"pcx", TKeeps::ByDepth, true},   {"dcx", TKeeps::ByDepth, false},  {"gif", TKeeps::ByDepth, true},
    {"jpg", TKeeps::Lossy, true},     {"jp2", TKeeps::Exact, true},     {"j2k", TKeeps::Exact, false},
    {"tga", TKeeps::Exact, true},     {"ppm", TKeeps::Exact, true},     {"pxm", TKeeps::Exact, false},
    {"pgm", TKeeps::Grey, true},      {"pbm", TKeeps::BlackWhite, true}, {"wbmp", TKeeps::BlackWhite, false},
    {"ico", TKeeps::IconSized, true}, {"pdf", TKeeps::Written, false},  {"ps", TKeeps::Written, false},
    {"eps", TKeeps::Written, false},
};

struct TSource {
  const char* name;
  TPictureBitmap picture;
};

bool BlackAndWhiteOnly(const TPictureBitmap& p) {
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x)
      if (p.Pixel(x, y) != kBlack && p.Pixel(x, y) != kWhite) return false;
  return true;
}

TPictureBitmap Grey(const TPictureBitmap& p) {
  TPictureBitmap out = test::Expand(p);
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) {
      const TColor c = out.Pixel(x, y);
      const bool grey = RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c);
      if (!grey) return {};  // only grey pictures are compared
    }
  return out;
}

// Colours a depth-following writer gives the file: 1 for black and white,
// 0 for full colour, else the palette size. GIF knows only bits; BMP takes
// 1 and 4 bits whatever the samples.
int ColoursAsked(const std::string& ext, const TDepth& d) {
  if (ext == "gif") return d.bits == 1 ? 1 : 1 << d.bits;
  if (ext == "bmp") return d.bits == 1 ? 1 : d.bits == 4 ? 16 : d.samples == 1 ? 256 : 0;
  if (d.samples != 1) return 0;
  return d.bits == 1 ? 1 : 1 << d.bits;
}

class WriterMatrix : public ::testing::Test {
 protected:
  void SetUp() override {
    sources_.push_back({"black and white", test::MonoPattern(61, 23)});
    sources_.push_back({"few colours", test::ScreenshotLike(61, 23)});
    sources_.push_back({"photo", test::PhotoLike(61, 23)});
  }
  std::vector<TSource> sources_;
  test::TScratchDir dir_;
};

TEST_F(WriterMatrix, EveryWriterTakesEveryPictureAtEveryDepth) {
  int written = 0;
  for (const TWriterCase& w : kWriters) {
    for (const TSource& s : sources_) {
      for (const TDepth& d : kDepths) {
        SCOPED_TRACE(std::string(w.ext) + ", " + s.name + ", " + std::to_string(d.bits) + " bits x " +
                     std::to_string(d.samples) + " samples");
        TIOParams params;
        params.bits_per_sample = d.bits;
        params.samples_per_pixel = d.samples;
        const std::string file = dir_.File("m." + std::string(w.ext));
        ASSERT_NO_THROW(SavePictureFile(file, s.picture, params));
        ++written;
        ASSERT_GT(std::filesystem::file_size(file), 0u);
        if (w.keeps == TKeeps::Written) continue;
        TPictureBitmap back;
        TIOParams read;
        ASSERT_NO_THROW(LoadPictureFile(file, back, read));
        if (w.keeps == TKeeps::IconSized) {
          EXPECT_EQ(back.Width(), 64);
          EXPECT_EQ(back.Height(), 64);
          continue;
        }
        ASSERT_EQ(back.Width(), s.picture.Width());
        ASSERT_EQ(back.Height(), s.picture.Height());
        const TPictureBitmap original = test::Expand(s.picture);
        const TPictureBitmap seen = test::Expand(back);
        switch (w.keeps) {
          case TKeeps::Exact:
            EXPECT_EQ(test::MaxChannelDifference(seen, original), 0);
            break;
          case TKeeps::Lossy:
            EXPECT_LE(test::MaxChannelDifference(seen, original), s.picture.IsMono() ? 160 : 80);
            break;
          case TKeeps::BlackWhite:
            EXPECT_TRUE(BlackAndWhiteOnly(seen));
            if (s.picture.IsMono()) EXPECT_EQ(test::MaxChannelDifference(seen, original), 0);
            break;
          case TKeeps::Grey: {
            const TPictureBitmap grey = Grey(original);
            if (!grey.Empty()) EXPECT_EQ(test::MaxChannelDifference(seen, grey), 0);
            break;
          }
          case TKeeps::ByDepth: {
            const int colours = ColoursAsked(w.ext, d);
            const bool fits = s.picture.IsMono() || colours == 0 ||
                              (colours > 1 && !ExactColors(s.picture, colours).empty());
            if (fits) EXPECT_EQ(test::MaxChannelDifference(seen, original), 0);
            else if (colours == 1) EXPECT_TRUE(BlackAndWhiteOnly(seen));
            else EXPECT_LE(ExactColors(seen, 256).size(), std::size_t(colours));
            break;
          }
          default:
            break;
        }
      }
    }
  }
  EXPECT_EQ(written, int(std::size(kWriters)) * 3 * int(std::size(kDepths)));
}

// ImageMagick decodes our files as we do. A few depths per writer keep the
// run short; each layout (B/W, 4-bit and 8-bit palette, full colour) is met.
TEST_F(WriterMatrix, ImageMagickReadsWhatWeRead) {
  if (!std::filesystem::exists("/usr/bin/convert")) GTEST_SKIP() << "ImageMagick is not installed";
  const TDepth depths[] = {{1, 1}, {4, 1}, {8, 1}, {8, 3}};
  for (const TWriterCase& w : kWriters) {
    if (!w.imagemagick || w.keeps == TKeeps::Lossy) continue;
    for (const TSource& s : sources_) {
      for (const TDepth& d : depths) {
        // ImageMagick reads 1-bit PCX inverted (ZSoft's set bit is white,
        // as our reader and others take it).
        if (std::string(w.ext) == "pcx" && d.bits == 1 && d.samples == 1) continue;
        SCOPED_TRACE(std::string(w.ext) + ", " + s.name + ", " + std::to_string(d.bits) + "x" +
                     std::to_string(d.samples));
        TIOParams params;
        params.bits_per_sample = d.bits;
        params.samples_per_pixel = d.samples;
        const std::string file = dir_.File("i." + std::string(w.ext));
        SavePictureFile(file, s.picture, params);
        TPictureBitmap ours;
        TIOParams read;
        LoadPictureFile(file, ours, read);
        const std::string ppm = dir_.File("im.ppm");
        std::filesystem::remove(ppm);
        ASSERT_EQ(std::system(("/usr/bin/convert '" + file + "[0]' -depth 8 '" + ppm + "' >/dev/null 2>&1").c_str()), 0);
        TPictureBitmap theirs;
        LoadPictureFile(ppm, theirs, read);
        ASSERT_EQ(theirs.Width(), ours.Width());
        ASSERT_EQ(theirs.Height(), ours.Height());
        EXPECT_EQ(test::MaxChannelDifference(test::Expand(theirs), test::Expand(ours)), 0);
      }
    }
  }
}

// A failed write leaves neither the file nor a hidden temporary beside it.
TEST_F(WriterMatrix, FailedWriteLeavesNothingBehind) {
  const TPictureBitmap wide = test::MonoPattern(70000, 2);  // too wide for PCX, GIF and Targa
  for (const char* name : {"w.pcx", "w.gif", "w.tga"}) {
    SCOPED_TRACE(name);
    EXPECT_THROW(SavePictureFile(dir_.File(name), wide, TIOParams{}), PictureFileError);
    EXPECT_TRUE(std::filesystem::is_empty(dir_.Path()));
  }
}

// The wide black-and-white picture that once crashed the PCX writer at 8
// bits in 3 planes.
TEST_F(WriterMatrix, WideBlackAndWhitePictureAsTrueColourPcx) {
  const TPictureBitmap wide = test::MonoPattern(60000, 4);
  TIOParams params;
  params.bits_per_sample = 8;
  params.samples_per_pixel = 3;
  const std::string file = dir_.File("wide.pcx");
  ASSERT_NO_THROW(SavePictureFile(file, wide, params));
  TPictureBitmap back;
  LoadPictureFile(file, back, params);
  EXPECT_EQ(test::MaxChannelDifference(test::Expand(back), test::Expand(wide)), 0);
}

}  // namespace
}  // namespace vistrel
