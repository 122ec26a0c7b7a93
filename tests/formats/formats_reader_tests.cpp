// Readers on hand-made files: the variants our own writers never produce.
#include <gtest/gtest.h>

#include "imaging/formats/picture_file.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, unsigned v) {
  b.push_back(std::uint8_t(v));
  b.push_back(std::uint8_t(v >> 8));
}
void Put32(Bytes& b, unsigned v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

TPictureBitmap Load(const test::TScratchDir& dir, const std::string& name, const Bytes& bytes,
                    TIOParams* params = nullptr) {
  test::WriteBytes(dir.File(name), bytes);
  TPictureBitmap picture;
  TIOParams p;
  LoadPictureFile(dir.File(name), picture, p);
  if (params) *params = p;
  return picture;
}

const TColor kRed = MakeColor(255, 0, 0), kBlue = MakeColor(0, 0, 255), kGreen = MakeColor(0, 255, 0);

// A 2 x 2 Targa: red, green on the top row; blue, white below.
TEST(TargaReader, BothOriginsRunLengthPaletteAndGrey) {
  test::TScratchDir dir;
  auto header = [](int type, int bits, int descriptor, int map_type = 0, int map_length = 0) {
    Bytes b = {0, std::uint8_t(map_type), std::uint8_t(type), 0, 0};
    Put16(b, unsigned(map_length));
    b.push_back(map_length ? 24 : 0);
    Put32(b, 0);
    Put16(b, 2);
    Put16(b, 2);
    b.push_back(std::uint8_t(bits));
    b.push_back(std::uint8_t(descriptor));
    b[3] = 0;
    b[4] = 0;
    return b;
  };
  TPictureBitmap expected(2, 2);
  expected.SetPixel(0, 0, kRed);
  expected.SetPixel(1, 0, kGreen);
  expected.SetPixel(0, 1, kBlue);
  expected.SetPixel(1, 1, kWhite);

  Bytes top = header(2, 24, 0x20);
  for (std::uint8_t v : {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255}) top.push_back(v);
  EXPECT_EQ(Load(dir, "t.tga", top), expected);

  Bytes bottom = header(2, 24, 0x00);
  for (std::uint8_t v : {255, 0, 0, 255, 255, 255, 0, 0, 255, 0, 255, 0}) bottom.push_back(v);
  EXPECT_EQ(Load(dir, "b.tga", bottom), expected);

  // Run-length: a run of two red pixels, then two raw pixels.
  TPictureBitmap runs(2, 2);
  runs.SetPixel(0, 0, kRed);
  runs.SetPixel(1, 0, kRed);
  runs.SetPixel(0, 1, kBlue);
  runs.SetPixel(1, 1, kWhite);
  Bytes rle = header(10, 24, 0x20);
  for (std::uint8_t v : {0x81, 0, 0, 255, 0x01, 255, 0, 0, 255, 255, 255}) rle.push_back(v);
  EXPECT_EQ(Load(dir, "r.targa", rle), runs);

  Bytes mapped = header(1, 8, 0x20, 1, 4);
  for (std::uint8_t v : {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255}) mapped.push_back(v);
  for (std::uint8_t v : {0, 1, 2, 3}) mapped.push_back(v);
  EXPECT_EQ(Load(dir, "m.vda", mapped), expected);

  Bytes grey = header(3, 8, 0x20);
  for (std::uint8_t v : {0, 128, 200, 255}) grey.push_back(v);
  const TPictureBitmap g = Load(dir, "g.icb", grey);
  EXPECT_EQ(g.Pixel(1, 0), MakeColor(128, 128, 128));
  EXPECT_EQ(g.Pixel(1, 1), kWhite);
}

Bytes BmpHeader(int width, int height, int bits, unsigned compression, unsigned palette_entries,
                unsigned header_size = 40) {
  Bytes b = {'B', 'M'};
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, 14 + header_size + 4 * palette_entries + (compression == 3 && header_size == 40 ? 12 : 0));
  Put32(b, header_size);
  Put32(b, unsigned(width));
  Put32(b, unsigned(height));
  Put16(b, 1);
  Put16(b, unsigned(bits));
  Put32(b, compression);
  Put32(b, 0);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, palette_entries);
  Put32(b, 0);
  b.resize(14 + header_size, 0);
  return b;
}

TEST(BmpReader, RunLength8WithDeltaAndAbsoluteBlocks) {
  test::TScratchDir dir;
  Bytes b = BmpHeader(6, 3, 8, 1, 3);
  for (TColor c : {kBlack, kRed, kBlue}) {
    b.push_back(BlueOf(c));
    b.push_back(GreenOf(c));
    b.push_back(RedOf(c));
    b.push_back(0);
  }
  // Bottom row: 3 x red, absolute (blue, red, blue) with its pad byte, end
  // of line; delta to (2, top row); 2 x blue; end of the bitmap.
  for (std::uint8_t v : {3, 1, 0, 3, 2, 1, 2, 0, 0, 0, 0, 2, 2, 1, 2, 2, 0, 1}) b.push_back(v);
  TIOParams params;
  const TPictureBitmap p = Load(dir, "r.bmp", b, &params);
  EXPECT_EQ(p.Pixel(0, 2), kRed);
  EXPECT_EQ(p.Pixel(3, 2), kBlue);
  EXPECT_EQ(p.Pixel(4, 2), kRed);
  EXPECT_EQ(p.Pixel(5, 2), kBlue);
  EXPECT_EQ(p.Pixel(1, 1), kBlack);  // skipped by the delta
  EXPECT_EQ(p.Pixel(1, 0), kBlack);
  EXPECT_EQ(p.Pixel(2, 0), kBlue);
  EXPECT_EQ(p.Pixel(3, 0), kBlue);
  EXPECT_EQ(p.Pixel(4, 0), kBlack);
  EXPECT_TRUE(params.bmp_rle);
  EXPECT_EQ(params.dpi_x, 72);
}

TEST(BmpReader, BitFieldsTopDownAndOneBitPalettes) {
  test::TScratchDir dir;
  // 16 bits 5-6-5, top-down (negative height), masks after the header.
  Bytes b = BmpHeader(2, -1, 16, 3, 0);
  Put32(b, 0xF800);
  Put32(b, 0x07E0);
  Put32(b, 0x001F);
  Put16(b, 0xF800);
  Put16(b, 0x07E0);
  EXPECT_EQ(Load(dir, "f.bmp", b).Pixel(0, 0), kRed);
  EXPECT_EQ(Load(dir, "f.bmp", b).Pixel(1, 0), kGreen);
  // 32 bits with a V5-sized header holding the masks.
  Bytes v5 = BmpHeader(1, 1, 32, 3, 0, 124);
  const unsigned masks[3] = {0x0000FF00, 0x00FF0000, 0xFF000000};
  for (int i = 0; i < 3; ++i)
    for (int k = 0; k < 4; ++k) v5[14 + 40 + 4 * i + k] = std::uint8_t(masks[i] >> (8 * k));
  Put32(v5, 0x0000FF00);  // red only
  EXPECT_EQ(Load(dir, "v5.bmp", v5).Pixel(0, 0), kRed);
  // A 1-bit palette white, black stays 1-bit with the bits turned round.
  Bytes mono = BmpHeader(8, 1, 1, 0, 2);
  for (std::uint8_t v : {255, 255, 255, 0, 0, 0, 0, 0}) mono.push_back(v);
  Put32(mono, 0x000000F0);
  const TPictureBitmap m = Load(dir, "m.bmp", mono);
  ASSERT_TRUE(m.IsMono());
  EXPECT_EQ(m.Pixel(0, 0), kBlack);
  EXPECT_EQ(m.Pixel(7, 0), kWhite);
}

TEST(PortableMapReader, AsciiKindsAndSixteenBitSamples) {
  test::TScratchDir dir;
  auto text = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
  const TPictureBitmap bits = Load(dir, "a.pbm", text("P1\n# comment\n3 1\n0 1 0\n"));
  ASSERT_TRUE(bits.IsMono());
  EXPECT_EQ(bits.Pixel(0, 0), kWhite);
  EXPECT_EQ(bits.Pixel(1, 0), kBlack);
  EXPECT_EQ(Load(dir, "a.pgm", text("P2 2 1 10 10 5")).Pixel(1, 0), MakeColor(127, 127, 127));
  EXPECT_EQ(Load(dir, "a.ppm", text("P3 1 1 255 255 0 0")).Pixel(0, 0), kRed);
  Bytes wide = text("P6 1 1 65535\n");
  for (std::uint8_t v : {0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00}) wide.push_back(v);
  EXPECT_EQ(Load(dir, "w.pxm", wide).Pixel(0, 0), MakeColor(255, 127, 0));
}

TEST(GifReader, FrameWithLocalPaletteSitsOnItsLogicalScreen) {
  test::TScratchDir dir;
  // Screen 3 x 2, global table (black, blue), background index 1; a 1 x 1
  // frame at (2, 1) with a local table (red, red) and code size 2.
  Bytes b = {'G', 'I', 'F', '8', '9', 'a', 3, 0, 2, 0, 0x80, 1, 0, 0, 0, 0, 0, 0, 255,
             0x2C, 2, 0, 1, 0, 1, 0, 1, 0, 0x80, 255, 0, 0, 255, 0, 0,
             2, 2, 0x44, 0x01, 0, 0x3B};
  const TPictureBitmap p = Load(dir, "f.gif", b);
  ASSERT_EQ(p.Width(), 3);
  EXPECT_EQ(p.Pixel(0, 0), kBlue);
  EXPECT_EQ(p.Pixel(2, 1), kRed);
}

TEST(CursorReader, ReadsTheIconLayoutWithCursorType) {
  test::TScratchDir dir;
  TPictureBitmap flat(32, 32);
  flat.Fill(kGreen);
  TIOParams params;
  params.ico_images = {{32, 32, 24}};
  SavePictureFile(dir.File("c.ico"), flat, params);
  Bytes b = test::ReadBytes(dir.File("c.ico"));
  b[2] = 2;
  EXPECT_EQ(Load(dir, "c.cur", b), flat);
}

// A placeable WMF of 100 x 50 pixels at 96 dpi with a red rectangle.
Bytes RedRectangleWmf() {
  Bytes b;
  Put32(b, 0x9AC6CDD7);
  Put16(b, 0);
  for (unsigned v : {0u, 0u, 100u, 50u}) Put16(b, v);
  Put16(b, 96);
  Put32(b, 0);
  unsigned checksum = 0;
  for (std::size_t i = 0; i < 20; i += 2) checksum ^= b[i] | b[i + 1] << 8;
  Put16(b, checksum);
  const std::size_t header = b.size();
  Put16(b, 1);
  Put16(b, 9);
  Put16(b, 0x0300);
  Put32(b, 0);  // size in words, patched below
  Put16(b, 1);
  Put32(b, 7);
  Put16(b, 0);
  auto record = [&](unsigned function, std::initializer_list<unsigned> words) {
    Put32(b, unsigned(3 + words.size()));
    Put16(b, function);
    for (unsigned w : words) Put16(b, w);
  };
  record(0x020B, {0, 0});                   // SetWindowOrg
  record(0x020C, {50, 100});                // SetWindowExt (y, x)
  record(0x02FC, {0, 0x00FF, 0x0000, 0});   // CreateBrushIndirect: solid red
  record(0x012D, {0});                      // SelectObject
  record(0x041B, {40, 90, 10, 10});         // Rectangle (bottom, right, top, left)
  record(0x0000, {});                       // EOF
  const unsigned words = unsigned((b.size() - header) / 2);
  for (int k = 0; k < 4; ++k) b[header + 6 + k] = std::uint8_t(words >> (8 * k));
  return b;
}

// An EMF of 100 x 50 pixels with the same red rectangle.
Bytes RedRectangleEmf() {
  Bytes b;
  Put32(b, 1);
  Put32(b, 88);
  for (unsigned v : {0u, 0u, 99u, 49u}) Put32(b, v);
  for (unsigned v : {0u, 0u, 2619u, 1296u}) Put32(b, v);
  Put32(b, 0x464D4520);
  Put32(b, 0x10000);
  Put32(b, 0);  // bytes, patched below
  Put32(b, 5);
  Put16(b, 2);
  Put16(b, 0);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, 1024);
  Put32(b, 768);
  Put32(b, 270);
  Put32(b, 203);
  auto record = [&](unsigned type, std::initializer_list<unsigned> values) {
    Put32(b, type);
    Put32(b, unsigned(8 + 4 * values.size()));
    for (unsigned v : values) Put32(b, v);
  };
  record(39, {1, 0, 0x000000FF, 0});  // CreateBrushIndirect: solid red
  record(37, {1});                    // SelectObject
  record(43, {10, 10, 90, 40});       // Rectangle
  record(14, {0, 16, 20});            // EOF
  for (int k = 0; k < 4; ++k) b[48 + k] = std::uint8_t(b.size() >> (8 * k));
  return b;
}

TEST(MetafileReader, WmfAndEmfAreDrawnAtTheirSizeOverWhite) {
  test::TScratchDir dir;
  for (const auto& [name, bytes] : {std::pair<const char*, Bytes>{"r.wmf", RedRectangleWmf()},
                                    std::pair<const char*, Bytes>{"r.EMF", RedRectangleEmf()}}) {
    SCOPED_TRACE(name);
    const TPictureBitmap p = Load(dir, name, bytes);
    ASSERT_EQ(p.Width(), 100);
    ASSERT_EQ(p.Height(), 50);
    EXPECT_EQ(p.Pixel(50, 25), kRed);
    EXPECT_EQ(p.Pixel(2, 2), kWhite);
    EXPECT_EQ(p.Pixel(97, 47), kWhite);
  }
}

}  // namespace
}  // namespace vistrel
