#include "imaging/formats/ccitt_encoder.h"

#include <algorithm>

namespace vistrel {
namespace {

struct TCode {
  std::uint16_t bits;
  std::uint8_t length;
};

// Run-length codes of T.4: terminating codes for 0..63, make-up codes for
// 64..1728 in steps of 64, then the make-up codes shared by both colours
// for 1792..2560.
constexpr TCode kWhiteTerm[64] = {
    {0x35, 8}, {0x07, 6}, {0x07, 4}, {0x08, 4}, {0x0B, 4}, {0x0C, 4}, {0x0E, 4}, {0x0F, 4},
    {0x13, 5}, {0x14, 5}, {0x07, 5}, {0x08, 5}, {0x08, 6}, {0x03, 6}, {0x34, 6}, {0x35, 6},
    {0x2A, 6}, {0x2B, 6}, {0x27, 7}, {0x0C, 7}, {0x08, 7}, {0x17, 7}, {0x03, 7}, {0x04, 7},
    {0x28, 7}, {0x2B, 7}, {0x13, 7}, {0x24, 7}, {0x18, 7}, {0x02, 8}, {0x03, 8}, {0x1A, 8},
    {0x1B, 8}, {0x12, 8}, {0x13, 8}, {0x14, 8}, {0x15, 8}, {0x16, 8}, {0x17, 8}, {0x28, 8},
    {0x29, 8}, {0x2A, 8}, {0x2B, 8}, {0x2C, 8}, {0x2D, 8}, {0x04, 8}, {0x05, 8}, {0x0A, 8},
    {0x0B, 8}, {0x52, 8}, {0x53, 8}, {0x54, 8}, {0x55, 8}, {0x24, 8}, {0x25, 8}, {0x58, 8},
    {0x59, 8}, {0x5A, 8}, {0x5B, 8}, {0x4A, 8}, {0x4B, 8}, {0x32, 8}, {0x33, 8}, {0x34, 8}};

constexpr TCode kWhiteMakeup[27] = {
    {0x1B, 5}, {0x12, 5}, {0x17, 6}, {0x37, 7}, {0x36, 8}, {0x37, 8}, {0x64, 8},
    {0x65, 8}, {0x68, 8}, {0x67, 8}, {0xCC, 9}, {0xCD, 9}, {0xD2, 9}, {0xD3, 9},
    {0xD4, 9}, {0xD5, 9}, {0xD6, 9}, {0xD7, 9}, {0xD8, 9}, {0xD9, 9}, {0xDA, 9},
    {0xDB, 9}, {0x98, 9}, {0x99, 9}, {0x9A, 9}, {0x18, 6}, {0x9B, 9}};

constexpr TCode kBlackTerm[64] = {
    {0x37, 10}, {0x02, 3},  {0x03, 2},  {0x02, 2},  {0x03, 3},  {0x03, 4},  {0x02, 4},  {0x03, 5},
    {0x05, 6},  {0x04, 6},  {0x04, 7},  {0x05, 7},  {0x07, 7},  {0x04, 8},  {0x07, 8},  {0x18, 9},
    {0x17, 10}, {0x18, 10}, {0x08, 10}, {0x67, 11}, {0x68, 11}, {0x6C, 11}, {0x37, 11}, {0x28, 11},
    {0x17, 11}, {0x18, 11}, {0xCA, 12}, {0xCB, 12}, {0xCC, 12}, {0xCD, 12}, {0x68, 12}, {0x69, 12},
    {0x6A, 12}, {0x6B, 12}, {0xD2, 12}, {0xD3, 12}, {0xD4, 12}, {0xD5, 12}, {0xD6, 12}, {0xD7, 12},
    {0x6C, 12}, {0x6D, 12}, {0xDA, 12}, {0xDB, 12}, {0x54, 12}, {0x55, 12}, {0x56, 12}, {0x57, 12},
    {0x64, 12}, {0x65, 12}, {0x52, 12}, {0x53, 12}, {0x24, 12}, {0x37, 12}, {0x38, 12}, {0x27, 12},
    {0x28, 12}, {0x58, 12}, {0x59, 12}, {0x2B, 12}, {0x2C, 12}, {0x5A, 12}, {0x66, 12}, {0x67, 12}};

constexpr TCode kBlackMakeup[27] = {
    {0x0F, 10}, {0xC8, 12}, {0xC9, 12}, {0x5B, 12}, {0x33, 12}, {0x34, 12}, {0x35, 12},
    {0x6C, 13}, {0x6D, 13}, {0x4A, 13}, {0x4B, 13}, {0x4C, 13}, {0x4D, 13}, {0x72, 13},
    {0x73, 13}, {0x74, 13}, {0x75, 13}, {0x76, 13}, {0x77, 13}, {0x52, 13}, {0x53, 13},
    {0x54, 13}, {0x55, 13}, {0x5A, 13}, {0x5B, 13}, {0x64, 13}, {0x65, 13}};

constexpr TCode kExtendedMakeup[13] = {
    {0x08, 11}, {0x0C, 11}, {0x0D, 11}, {0x12, 12}, {0x13, 12}, {0x14, 12}, {0x15, 12},
    {0x16, 12}, {0x17, 12}, {0x1C, 12}, {0x1D, 12}, {0x1E, 12}, {0x1F, 12}};

constexpr TCode kPass{0x1, 4};
constexpr TCode kHorizontal{0x1, 3};
// Vertical codes for a1 - b1 = -3 .. 3.
constexpr TCode kVertical[7] = {{0x02, 7}, {0x02, 6}, {0x02, 3}, {0x1, 1}, {0x03, 3}, {0x03, 6}, {0x03, 7}};
constexpr TCode kEol{0x001, 12};

class TBitWriter {
 public:
  void Put(TCode c) {
    for (int i = c.length - 1; i >= 0; --i) Bit((c.bits >> i) & 1);
  }
  void Bit(int b) {
    acc_ = std::uint8_t(acc_ << 1 | b);
    if (++n_ == 8) {
      out_.push_back(acc_);
      acc_ = 0;
      n_ = 0;
    }
  }
  std::vector<std::uint8_t> Finish() {
    while (n_ != 0) Bit(0);
    return std::move(out_);
  }

 private:
  std::vector<std::uint8_t> out_;
  std::uint8_t acc_ = 0;
  int n_ = 0;
};

void PutRun(TBitWriter& w, int run, bool black) {
  while (run >= 2560 + 64) {
    w.Put(kExtendedMakeup[12]);
    run -= 2560;
  }
  if (run >= 64) {
    const int makeup = run / 64;  // 1..40
    if (makeup <= 27) w.Put(black ? kBlackMakeup[makeup - 1] : kWhiteMakeup[makeup - 1]);
    else w.Put(kExtendedMakeup[makeup - 28]);
    run -= makeup * 64;
  }
  w.Put(black ? kBlackTerm[run] : kWhiteTerm[run]);
}

inline int PixelAt(const std::uint8_t* row, int x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; }

// First position at or after `from` whose pixel is not `color`; `width` if none.
int NextChange(const std::uint8_t* row, int from, int width, int color) {
  int x = from;
  const std::uint8_t skip = color ? 0xFF : 0x00;
  while (x < width && (x & 7) != 0) {
    if (PixelAt(row, x) != color) return x;
    ++x;
  }
  while (x + 8 <= width && row[x >> 3] == skip) x += 8;
  while (x < width && PixelAt(row, x) == color) ++x;
  return std::min(x, width);
}

}  // namespace

std::vector<std::uint8_t> EncodeCcittGroup4(const TPictureBitmap& mono) {
  const int width = mono.Width();
  TBitWriter w;
  std::vector<std::uint8_t> white_line(TPictureBitmap::StrideFor(width, 1), 0);
  const std::uint8_t* ref = white_line.data();
  for (int y = 0; y < mono.Height(); ++y) {
    const std::uint8_t* line = mono.Row(y);
    int a0 = 0, color = 0;
    int a1 = PixelAt(line, 0) ? 0 : NextChange(line, 0, width, 0);
    int b1 = PixelAt(ref, 0) ? 0 : NextChange(ref, 0, width, 0);
    for (;;) {
      const int b2 = b1 >= width ? width : NextChange(ref, b1, width, PixelAt(ref, b1));
      if (b2 < a1) {
        w.Put(kPass);
        a0 = b2;
      } else if (const int d = a1 - b1; d >= -3 && d <= 3) {
        w.Put(kVertical[d + 3]);
        a0 = a1;
        color ^= 1;
      } else {
        const int a2 = a1 >= width ? width : NextChange(line, a1, width, PixelAt(line, a1));
        w.Put(kHorizontal);
        PutRun(w, a1 - a0, color != 0);
        PutRun(w, a2 - a1, color == 0);
        a0 = a2;
      }
      if (a0 >= width) break;
      a1 = NextChange(line, a0, width, color);
      b1 = NextChange(ref, a0, width, color ^ 1);
      b1 = b1 >= width ? width : NextChange(ref, b1, width, color);
    }
    ref = line;
  }
  w.Put(kEol);
  w.Put(kEol);
  return w.Finish();
}

std::vector<std::uint8_t> EncodeCcittGroup3Mixed(const TPictureBitmap& mono) {
  const int width = mono.Width();
  TBitWriter w;
  for (int y = 0; y < mono.Height(); ++y) {
    const std::uint8_t* line = mono.Row(y);
    w.Bit(1);  // this row is one-dimensional
    int x = 0, color = 0;
    while (x < width) {
      const int end = NextChange(line, x, width, color);
      PutRun(w, end - x, color != 0);
      x = end;
      color ^= 1;
    }
  }
  return w.Finish();
}

}  // namespace vistrel
