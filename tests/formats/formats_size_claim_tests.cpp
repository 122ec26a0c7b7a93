// Headers that claim a picture far larger than the file's bytes can hold
// are refused before the picture is allocated. Each load runs in a child
// whose address space is capped a little above what it has: a reader that
// allocates first runs out of memory there instead of refusing.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <fstream>

#include "imaging/formats/picture_file.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kClaim = 16000;  // 16000 x 16000: 768 MB at 24 bits
constexpr std::size_t kBudget = std::size_t(200) << 20;
constexpr std::array<std::uint8_t, 2> kSof0 = {0xFF, 0xC0};

void Le16(Bytes& b, std::uint32_t v) { b.insert(b.end(), {std::uint8_t(v), std::uint8_t(v >> 8)}); }
void Le32(Bytes& b, std::uint32_t v) {
  Le16(b, v & 0xFFFF);
  Le16(b, v >> 16);
}
void Be32At(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (24 - 8 * i));
}

std::size_t AddressSpace() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  statm >> pages;
  return pages * std::size_t(sysconf(_SC_PAGESIZE));
}

enum TOutcome { kRefused = 0, kLoaded = 1, kOutOfMemory = 2, kOther = 3 };

// Loads `path` in a child under the cap.
TOutcome LoadCapped(const std::string& path) {
  const std::size_t cap = AddressSpace() + kBudget;
  const pid_t child = fork();
  if (child == 0) {
    const rlimit limit{cap, cap};
    if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(kOther);
    TPictureBitmap picture;
    TIOParams params;
    try {
      LoadPictureFile(path, picture, params);
    } catch (const PictureFileError& e) {
      _exit(std::string(e.what()).find("Out of memory") != std::string::npos ? kOutOfMemory : kRefused);
    } catch (...) {
      _exit(kOther);
    }
    _exit(kLoaded);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return kOther;
  return TOutcome(WEXITSTATUS(status));
}

// An 8-bit BMP with the pixel bytes given, run-length 8 when `rle`.
Bytes Bmp(std::int32_t width, std::int32_t height, bool rle, const Bytes& pixels) {
  Bytes b = {'B', 'M'};
  const std::uint32_t offset = 14 + 40 + 256 * 4;
  Le32(b, offset + std::uint32_t(pixels.size()));
  Le32(b, 0);
  Le32(b, offset);
  Le32(b, 40);
  Le32(b, std::uint32_t(width));
  Le32(b, std::uint32_t(height));
  Le16(b, 1);
  Le16(b, 8);
  Le32(b, rle ? 1 : 0);
  Le32(b, std::uint32_t(pixels.size()));
  Le32(b, 0);
  Le32(b, 0);
  Le32(b, 256);
  Le32(b, 0);
  for (int i = 0; i < 256; ++i) b.insert(b.end(), {std::uint8_t(i), std::uint8_t(i), std::uint8_t(255 - i), 0});
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

// Runs of 255 pixels of index 7, then the end of the bitmap.
Bytes Runs(int count) {
  Bytes d;
  for (int i = 0; i < count; ++i) d.insert(d.end(), {255, 7});
  d.insert(d.end(), {0, 1});
  return d;
}

// A little-endian, uncompressed 8-bit grey TIFF of one strip holding
// `strip` bytes.
Bytes GreyTiff(std::uint32_t width, std::uint32_t height, std::uint32_t strip) {
  Bytes b = {'I', 'I', 42, 0};
  Le32(b, 8);
  const std::uint32_t entries[][3] = {{256, 4, width}, {257, 4, height}, {258, 3, 8},   {259, 3, 1},     {262, 3, 1},
                                      {273, 4, 0},     {277, 3, 1},      {278, 4, height}, {279, 4, strip}};
  const std::uint32_t data_at = 8 + 2 + 9 * 12 + 4;
  Le16(b, 9);
  for (const auto& e : entries) {
    Le16(b, e[0]);
    Le16(b, e[1]);
    Le32(b, 1);
    if (e[1] == 3) Le16(b, e[2]), Le16(b, 0);
    else Le32(b, e[0] == 273 ? data_at : e[2]);
  }
  Le32(b, 0);
  for (std::uint32_t i = 0; i < strip; ++i) b.push_back(std::uint8_t(i));
  return b;
}

class SizeClaims : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const Bytes& bytes) {
    test::WriteBytes(dir_.File(name), bytes);
    return dir_.File(name);
  }
  test::TScratchDir dir_;
};

TEST_F(SizeClaims, HugeClaimsInSmallFilesAreRefusedWithoutAllocating) {
  // The run-length BMP of the report: 2.3 KB claiming 16000 x 16000.
  const Bytes bmp = Bmp(kClaim, kClaim, true, Runs(600));
  ASSERT_LT(bmp.size(), 2400u);
  EXPECT_EQ(LoadCapped(Write("claim.bmp", bmp)), kRefused);

  // A small PNG whose header says 16000 x 16000 (CRC kept right).
  const std::string small = dir_.File("small.png");
  SavePictureFile(small, test::PhotoLike(2, 2), TIOParams{});
  Bytes png = test::ReadBytes(small);
  Be32At(png, 16, kClaim);
  Be32At(png, 20, kClaim);
  Be32At(png, 29, std::uint32_t(crc32(0, png.data() + 12, 17)));
  EXPECT_EQ(LoadCapped(Write("claim.png", png)), kRefused);

  // A run-length PCX, 3 planes of 16000 bytes a line, with a few runs.
  Bytes pcx(128, 0);
  pcx[0] = 10, pcx[1] = 5, pcx[2] = 1, pcx[3] = 8;
  pcx[8] = std::uint8_t((kClaim - 1) & 0xFF), pcx[9] = std::uint8_t((kClaim - 1) >> 8);
  pcx[10] = pcx[8], pcx[11] = pcx[9];
  pcx[65] = 3, pcx[66] = std::uint8_t(kClaim & 0xFF), pcx[67] = std::uint8_t(kClaim >> 8);
  for (int i = 0; i < 1000; ++i) pcx.insert(pcx.end(), {0xFF, 9});
  EXPECT_EQ(LoadCapped(Write("claim.pcx", pcx)), kRefused);

  // A run-length true-colour Targa with a few packets of 128 pixels.
  Bytes tga = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Le16(tga, kClaim);
  Le16(tga, kClaim);
  tga.insert(tga.end(), {24, 0});
  for (int i = 0; i < 1000; ++i) tga.insert(tga.end(), {0xFF, 1, 2, 3});
  EXPECT_EQ(LoadCapped(Write("claim.tga", tga)), kRefused);

  // A sequential JPEG of the writer with 16000 x 16000 in its frame header.
  const std::string photo = dir_.File("photo.jpg");
  SavePictureFile(photo, test::PhotoLike(64, 48), TIOParams{});
  Bytes jpeg = test::ReadBytes(photo);
  const auto sof = std::search(jpeg.begin(), jpeg.end(), kSof0.begin(), kSof0.end());
  ASSERT_NE(sof, jpeg.end());
  const std::size_t at = std::size_t(sof - jpeg.begin()) + 5;  // marker, length, precision
  jpeg[at] = jpeg[at + 2] = std::uint8_t(kClaim >> 8);
  jpeg[at + 1] = jpeg[at + 3] = std::uint8_t(kClaim & 0xFF);
  EXPECT_EQ(LoadCapped(Write("claim.jpg", jpeg)), kRefused);

  // An uncompressed grey TIFF with one strip of 100 bytes.
  EXPECT_EQ(LoadCapped(Write("claim.tif", GreyTiff(kClaim, kClaim, 100))), kRefused);
}

// The bounds leave honest files alone: the most a run-length file can
// hold, and a plain picture compressed as far as PNG and JPEG go.
TEST_F(SizeClaims, FilesAtTheBoundsStillLoad) {
  // 2040 x 2000 in runs of 255, eight to a row.
  Bytes rows;
  for (int y = 0; y < 2000; ++y) {
    for (int i = 0; i < 8; ++i) rows.insert(rows.end(), {255, std::uint8_t(y)});
    rows.insert(rows.end(), {0, 0});
  }
  rows.insert(rows.end(), {0, 1});
  EXPECT_EQ(LoadCapped(Write("runs.bmp", Bmp(2040, 2000, true, rows))), kLoaded);
  TPictureBitmap picture;
  TIOParams params;
  LoadPictureFile(dir_.File("runs.bmp"), picture, params);
  EXPECT_EQ(picture.Pixel(2039, 0), MakeColor(255 - 207, 207, 207));  // the top row is the last, y = 1999

  const Bytes tiff = GreyTiff(40, 25, 1000);
  EXPECT_EQ(LoadCapped(Write("whole.tif", tiff)), kLoaded);

  TPictureBitmap white(4000, 3000);
  white.Fill(kWhite);
  SavePictureFile(dir_.File("white.png"), white, TIOParams{});
  EXPECT_EQ(LoadCapped(dir_.File("white.png")), kLoaded);
  SavePictureFile(dir_.File("white.jpg"), white, TIOParams{});
  EXPECT_EQ(LoadCapped(dir_.File("white.jpg")), kLoaded);
}

}  // namespace
}  // namespace vistrel
