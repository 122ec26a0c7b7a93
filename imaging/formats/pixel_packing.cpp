#include "imaging/formats/pixel_packing.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace vistrel {
namespace {

void SwapRedBluePlain(const std::uint8_t* in, std::uint8_t* out, std::size_t pixels) {
  for (std::size_t i = 0; i < pixels; ++i, in += 3, out += 3) {
    const std::uint8_t first = in[0], middle = in[1], last = in[2];
    out[0] = last, out[1] = middle, out[2] = first;
  }
}

#if defined(__x86_64__)
// Four pixels a step; each 16-byte store's last four bytes are rewritten by
// the next step (they are the input's, so swapping in place works too), and
// the loop stops while 16 bytes remain on both sides.
__attribute__((target("ssse3"))) void SwapRedBlueSsse3(const std::uint8_t* in, std::uint8_t* out,
                                                       std::size_t pixels) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 12, 13, 14, 15);
  std::size_t i = 0;
  for (; i + 6 <= pixels; i += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * i), _mm_shuffle_epi8(v, order));
  }
  SwapRedBluePlain(in + 3 * i, out + 3 * i, pixels - i);
}
#endif

}  // namespace

void SwapRedBlueRow(const std::uint8_t* in, std::uint8_t* out, std::size_t pixels) {
#if defined(__x86_64__)
  static const bool ssse3 = __builtin_cpu_supports("ssse3");
  if (ssse3) return SwapRedBlueSsse3(in, out, pixels);
#endif
  SwapRedBluePlain(in, out, pixels);
}

TPackedRows::TPackedRows(int width, int height, int bits)
    : bits_(bits),
      stride_(TPictureBitmap::StrideFor(width, bits)),
      bytes_(stride_ * std::size_t(height), 0) {}

void TPackedRows::Set(int y, int x, unsigned value) {
  std::uint8_t* row = Row(y);
  if (bits_ == 8) {
    row[x] = std::uint8_t(value);
    return;
  }
  const int per_byte = 8 / bits_;
  const int shift = 8 - bits_ * (x % per_byte + 1);
  const unsigned mask = ((1u << bits_) - 1) << shift;
  std::uint8_t& b = row[x / per_byte];
  b = std::uint8_t((b & ~mask) | ((value << shift) & mask));
}

unsigned TPackedRows::Get(int y, int x) const {
  const std::uint8_t* row = Row(y);
  if (bits_ == 8) return row[x];
  const int per_byte = 8 / bits_;
  const int shift = 8 - bits_ * (x % per_byte + 1);
  return (row[x / per_byte] >> shift) & ((1u << bits_) - 1);
}

TPackedRows PackIndices(const TPictureBitmap& picture, TPaletteMapper& mapper, int bits) {
  TPackedRows rows(picture.Width(), picture.Height(), bits);
  std::vector<std::uint8_t> indices(std::size_t(picture.Width()));
  const std::uint8_t black = mapper.Index(kBlack), white = mapper.Index(kWhite);
  for (int y = 0; y < picture.Height(); ++y) {
    if (picture.IsMono()) {
      for (int x = 0; x < picture.Width(); ++x)
        indices[x] = (picture.Row(y)[x >> 3] & (0x80 >> (x & 7))) ? white : black;
    } else {
      mapper.MapRow(picture.Row(y), picture.Width(), indices.data());
    }
    if (bits == 8) {
      std::copy(indices.begin(), indices.end(), rows.Row(y));
    } else {
      for (int x = 0; x < picture.Width(); ++x) rows.Set(y, x, indices[x]);
    }
  }
  return rows;
}

const TPictureBitmap& ToMonoByIntensity(const TPictureBitmap& picture, TPictureBitmap& storage) {
  if (picture.IsMono()) return picture;
  storage.Allocate(picture.Width(), picture.Height(), PixelFormat::Mono1);
  storage.SetDpi(picture.DpiX(), picture.DpiY());
  for (int y = 0; y < picture.Height(); ++y) {
    const std::uint8_t* p = picture.Row(y);
    std::uint8_t* out = storage.Row(y);
    for (int x = 0; x < picture.Width(); ++x, p += 3)
      if (p[0] + p[1] + p[2] >= 384) out[x >> 3] |= std::uint8_t(0x80 >> (x & 7));
  }
  return storage;
}

}  // namespace vistrel
