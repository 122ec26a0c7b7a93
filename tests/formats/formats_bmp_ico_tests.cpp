// BMP headers and the icon layout, byte by byte.
#include <gtest/gtest.h>

#include "imaging/formats/picture_file.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t LE16(const Bytes& b, std::size_t at) { return b.at(at) | b.at(at + 1) << 8; }
std::uint32_t LE32(const Bytes& b, std::size_t at) { return LE16(b, at) | LE16(b, at + 2) << 16; }

Bytes Save(const test::TScratchDir& dir, const std::string& name, const TPictureBitmap& p, const TIOParams& params) {
  SavePictureFile(dir.File(name), p, params);
  return test::ReadBytes(dir.File(name));
}

struct TBmpCase {
  int bits_per_sample, samples_per_pixel, bits, palette;
};

TEST(BmpWriter, HeadersForEachDepth) {
  test::TScratchDir dir;
  const TPictureBitmap picture = test::ScreenshotLike(13, 7);
  TIOParams params;
  params.dpi_x = 96;
  params.dpi_y = 300;
  for (const TBmpCase& c : {TBmpCase{8, 3, 24, 0}, TBmpCase{8, 1, 8, 256}, TBmpCase{4, 1, 4, 16},
                            TBmpCase{1, 1, 1, 2}, TBmpCase{2, 1, 8, 256}}) {
    SCOPED_TRACE(c.bits);
    params.bits_per_sample = c.bits_per_sample;
    params.samples_per_pixel = c.samples_per_pixel;
    const Bytes b = Save(dir, "b.bmp", picture, params);
    const std::uint32_t stride = (13 * c.bits + 31) / 32 * 4;
    const std::uint32_t offset = 14 + 40 + 4 * c.palette;
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(LE32(b, 2), b.size());
    EXPECT_EQ(LE32(b, 6), 0u);
    EXPECT_EQ(LE32(b, 10), offset);
    EXPECT_EQ(LE32(b, 14), 40u);
    EXPECT_EQ(LE32(b, 18), 13u);
    EXPECT_EQ(LE32(b, 22), 7u);
    EXPECT_EQ(LE16(b, 26), 1u);
    EXPECT_EQ(LE16(b, 28), std::uint32_t(c.bits));
    EXPECT_EQ(LE32(b, 30), 0u);
    EXPECT_EQ(LE32(b, 34), stride * 7);
    EXPECT_EQ(LE32(b, 38), 3780u);   // 96 dpi
    EXPECT_EQ(LE32(b, 42), 11811u);  // 300 dpi
    EXPECT_EQ(LE32(b, 46), std::uint32_t(c.palette));
    EXPECT_EQ(b.size(), offset + stride * 7);
  }
}

TEST(BmpWriter, BottomRowComesFirst) {
  test::TScratchDir dir;
  TPictureBitmap p(2, 2);
  p.SetPixel(0, 0, MakeColor(1, 2, 3));
  p.SetPixel(1, 1, MakeColor(4, 5, 6));
  const Bytes b = Save(dir, "o.bmp", p, TIOParams{});
  EXPECT_EQ(Bytes(b.begin() + 54, b.end()), (Bytes{0, 0, 0, 6, 5, 4, 0, 0, 3, 2, 1, 0, 0, 0, 0, 0}));
}

TEST(BmpWriter, RunLengthOnlyForFourAndEightBits) {
  test::TScratchDir dir;
  TPictureBitmap p(40, 3);
  p.Fill(MakeColor(9, 9, 9));
  TIOParams params;
  params.bmp_rle = true;
  params.samples_per_pixel = 1;
  Bytes b = Save(dir, "r.bmp", p, params);
  EXPECT_EQ(LE32(b, 30), 1u);
  // Each row one run of 40 and an end of line, then the end of the bitmap.
  const Bytes rle(b.begin() + LE32(b, 10), b.end());
  EXPECT_EQ(rle, (Bytes{40, 0, 0, 0, 40, 0, 0, 0, 40, 0, 0, 0, 0, 1}));
  params.bits_per_sample = 4;
  EXPECT_EQ(LE32(Save(dir, "r.bmp", p, params), 30), 2u);
  params.samples_per_pixel = 3;
  params.bits_per_sample = 8;
  EXPECT_EQ(LE32(Save(dir, "r.bmp", p, params), 30), 0u);
}

TEST(BmpWriter, Os2HeaderOnlyWhenAsked) {
  test::TScratchDir dir;
  TIOParams params;
  params.bmp_header = TBmpHeader::Os2;
  const TPictureBitmap photo = test::PhotoLike(9, 4);
  const Bytes b = Save(dir, "o.bmp", photo, params);
  EXPECT_EQ(LE32(b, 14), 12u);
  EXPECT_EQ(LE16(b, 18), 9u);
  TPictureBitmap loaded;
  TIOParams read;
  LoadPictureFile(dir.File("o.bmp"), loaded, read);
  EXPECT_EQ(loaded, photo);
  EXPECT_EQ(read.bmp_header, TBmpHeader::Os2);
}

TEST(IcoWriter, DefaultIsOne64By64ImageOf256Colours) {
  test::TScratchDir dir;
  const Bytes b = Save(dir, "i.ico", test::PhotoLike(100, 30), TIOParams{});
  EXPECT_EQ(LE16(b, 0), 0u);
  EXPECT_EQ(LE16(b, 2), 1u);
  EXPECT_EQ(LE16(b, 4), 1u);
  // Directory entry: 64 x 64, 0 = 256 colours, planes 1, 8 bits, size, offset 22.
  EXPECT_EQ(Bytes(b.begin() + 6, b.begin() + 14), (Bytes{64, 64, 0, 0, 1, 0, 8, 0}));
  const std::uint32_t xor_bytes = 64 * 64, and_bytes = 8 * 64;
  EXPECT_EQ(LE32(b, 14), 40 + 1024 + xor_bytes + and_bytes);
  EXPECT_EQ(LE32(b, 18), 22u);
  // Information header: height doubled, 8 bits, 256 palette entries.
  EXPECT_EQ(LE32(b, 22), 40u);
  EXPECT_EQ(LE32(b, 26), 64u);
  EXPECT_EQ(LE32(b, 30), 128u);
  EXPECT_EQ(LE16(b, 36), 8u);
  EXPECT_EQ(LE32(b, 54), 256u);
  EXPECT_EQ(b.size(), 22 + 40 + 1024 + xor_bytes + and_bytes);
  // The AND mask marks every pixel opaque.
  EXPECT_EQ(Bytes(b.end() - and_bytes, b.end()), Bytes(and_bytes, 0));
}

TEST(IcoWriter, SeveralImagesFollowTheirDirectory) {
  test::TScratchDir dir;
  TIOParams params;
  params.ico_images = {{16, 16, 1}, {32, 32, 4}, {256, 256, 24}};
  const Bytes b = Save(dir, "i.ico", test::MonoPattern(30, 30), params);
  EXPECT_EQ(LE16(b, 4), 3u);
  std::uint32_t offset = 6 + 3 * 16;
  const std::uint32_t sizes[3] = {40 + 8 + 4 * 16 + 4 * 16, 40 + 64 + 16 * 32 + 4 * 32,
                                  40 + 256 * 256 * 3 + 32 * 256};
  const std::uint8_t colours[3] = {2, 16, 0};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const std::size_t e = 6 + 16 * std::size_t(i);
    EXPECT_EQ(b[e + 2], colours[i]);
    EXPECT_EQ(LE32(b, e + 8), sizes[i]);
    EXPECT_EQ(LE32(b, e + 12), offset);
    EXPECT_EQ(LE32(b, offset), 40u);
    offset += sizes[i];
  }
  EXPECT_EQ(b[6 + 32], 0);  // 256 is written as 0
  EXPECT_EQ(b.size(), offset);
}

}  // namespace
}  // namespace vistrel
