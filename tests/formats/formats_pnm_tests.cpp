// Portable maps byte for byte: every kind read (P1 to P6, maximum values
// 255 and 65535, comments, odd widths) writes back as the binary file of
// the same pixels, and a binary file read and written is the same file.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "imaging/formats/picture_file.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kWidth = 37, kHeight = 5;  // odd, and past the 16-byte steps

std::uint8_t Red(int x, int y) { return std::uint8_t(x * 7 + y * 50); }
std::uint8_t Green(int x, int y) { return std::uint8_t(255 - x * 3 - y); }
std::uint8_t Blue(int x, int y) { return std::uint8_t((x * y * 13) ^ 0x5A); }
bool Black(int x, int y) { return (x * 3 + y) % 5 < 2; }

void Append(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }

// A header as the writer writes it, or with comments where they are allowed.
Bytes Header(const std::string& magic, int maxval, bool comments) {
  Bytes b;
  if (comments) {
    Append(b, magic + "\n# made by hand\n" + std::to_string(kWidth) + " #width\n" + std::to_string(kHeight) + "\n");
    if (maxval) Append(b, "# maximum\n" + std::to_string(maxval) + "\n");
  } else {
    Append(b, magic + "\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n");
    if (maxval) Append(b, std::to_string(maxval) + "\n");
  }
  return b;
}

// The file of `kind` (1 to 6) at `maxval` with samples `sample(x, y, c)`
// (c = 0, 1, 2 for colour, 0 for grey and bits).
Bytes Map(int kind, int maxval, const std::function<int(int, int, int)>& sample, bool comments) {
  const int channels = kind == 3 || kind == 6 ? 3 : 1;
  const bool bits = kind == 1 || kind == 4;
  Bytes b = Header("P" + std::to_string(kind), bits ? 0 : maxval, comments);
  for (int y = 0; y < kHeight; ++y) {
    std::uint8_t packed = 0;
    for (int x = 0; x < kWidth; ++x) {
      for (int c = 0; c < channels; ++c) {
        const int v = sample(x, y, c);
        if (kind <= 3) {
          Append(b, std::to_string(v) + ((x + c) % 7 == 6 ? "\n" : " "));
        } else if (bits) {
          packed = std::uint8_t(packed | v << (7 - x % 8));
          if (x % 8 == 7 || x == kWidth - 1) b.push_back(std::exchange(packed, 0));
        } else if (maxval > 255) {
          b.insert(b.end(), {std::uint8_t(v >> 8), std::uint8_t(v)});
        } else {
          b.push_back(std::uint8_t(v));
        }
      }
    }
    if (kind <= 3) b.push_back('\n');
  }
  return b;
}

int Colour(int x, int y, int c) { return c == 0 ? Red(x, y) : c == 1 ? Green(x, y) : Blue(x, y); }

class PortableMaps : public ::testing::Test {
 protected:
  // Reads `bytes` as `name` and writes the picture to `out`.
  Bytes ReadAndWrite(const Bytes& bytes, const std::string& name, const std::string& out) {
    test::WriteBytes(dir_.File(name), bytes);
    TPictureBitmap picture;
    TIOParams params;
    LoadPictureFile(dir_.File(name), picture, params);
    SavePictureFile(dir_.File(out), picture, params);
    return test::ReadBytes(dir_.File(out));
  }
  test::TScratchDir dir_;
};

TEST_F(PortableMaps, EveryKindWritesBackAsItsBinaryFile) {
  for (int kind = 1; kind <= 6; ++kind) {
    const bool bits = kind == 1 || kind == 4, colour = kind == 3 || kind == 6;
    const int binary = bits ? 4 : colour ? 6 : 5;
    const std::string ext = bits ? "pbm" : colour ? "ppm" : "pgm";
    auto sample = [&](int x, int y, int c) { return bits ? (Black(x, y) ? 1 : 0) : colour ? Colour(x, y, c) : Green(x, y); };
    const Bytes expected = Map(binary, 255, sample, false);
    for (int maxval : {255, 65535}) {
      if (bits && maxval > 255) continue;
      SCOPED_TRACE("P" + std::to_string(kind) + " " + std::to_string(maxval));
      const int scale = maxval / 255;
      const Bytes input = Map(kind, maxval, [&](int x, int y, int c) { return sample(x, y, c) * (bits ? 1 : scale); }, true);
      const Bytes written = ReadAndWrite(input, "in." + ext, "out." + ext);
      EXPECT_EQ(written, expected);
      // Written, read and written again: the same bytes.
      EXPECT_EQ(ReadAndWrite(written, "again." + ext, "again-out." + ext), written);
    }
  }
}

// Samples above the maximum count as the maximum; other maxima scale.
TEST_F(PortableMaps, SamplesScaleToTheirMaximum) {
  Bytes b;
  Append(b, "P5 3 1 1000\n");
  b.insert(b.end(), {0, 0, 0x01, 0xF4, 0xFF, 0xFF});  // 0, 500, above 1000
  test::WriteBytes(dir_.File("s.pgm"), b);
  TPictureBitmap picture;
  TIOParams params;
  LoadPictureFile(dir_.File("s.pgm"), picture, params);
  EXPECT_EQ(picture.Pixel(0, 0), kBlack);
  EXPECT_EQ(picture.Pixel(1, 0), MakeColor(127, 127, 127));
  EXPECT_EQ(picture.Pixel(2, 0), kWhite);
  EXPECT_EQ(params.bits_per_sample, 16);
}

}  // namespace
}  // namespace vistrel
