#include "imaging/formats/gif_lzw_decoder.h"

#include <algorithm>

namespace vistrel {

std::vector<std::uint8_t> DecodeGifLzw(TByteSpan codes, int code_size, std::size_t pixels) {
  constexpr int kMaxCodes = 4096;
  if (code_size < 1 || code_size > 11) throw FormatError("Bad GIF code size");
  const int clear = 1 << code_size, end = clear + 1;
  std::vector<std::uint16_t> prefix(kMaxCodes, 0);
  std::vector<std::uint8_t> suffix(kMaxCodes, 0), first(kMaxCodes, 0), stack(kMaxCodes + 1);
  // Minimum code sizes above 8 have roots beyond any colour table; they
  // decode as the last index.
  for (int c = 0; c < clear; ++c) suffix[c] = first[c] = std::uint8_t(std::min(c, 255));

  std::vector<std::uint8_t> out;
  out.reserve(pixels);
  int width = code_size + 1, next = clear + 2, previous = -1;
  std::size_t pos = 0;
  std::uint32_t accum = 0;
  int bits = 0;
  while (out.size() < pixels) {
    while (bits < width && pos < codes.size()) {
      accum |= std::uint32_t(codes[pos++]) << bits;
      bits += 8;
    }
    if (bits < width) break;
    const int code = int(accum & ((1u << width) - 1));
    accum >>= width;
    bits -= width;
    if (code == clear) {
      width = code_size + 1;
      next = clear + 2;
      previous = -1;
      continue;
    }
    if (code == end) break;
    if (previous < 0) {
      if (code > clear) throw FormatError("Damaged GIF image data");
      out.push_back(first[code]);
      previous = code;
      continue;
    }
    // The string of a known code, or (the one code not yet in the table)
    // the previous string followed by its own first pixel.
    int c = code;
    std::size_t n = 0;
    if (code >= next) {
      if (code != next || next >= kMaxCodes) throw FormatError("Damaged GIF image data");
      stack[n++] = first[previous];
      c = previous;
    }
    while (c >= clear) {
      stack[n++] = suffix[c];
      c = prefix[c];
    }
    stack[n++] = first[c];
    while (n > 0 && out.size() < pixels) out.push_back(stack[--n]);
    if (next < kMaxCodes) {
      prefix[next] = std::uint16_t(previous);
      suffix[next] = first[c];
      first[next] = first[previous];
      ++next;
      if (next == (1 << width) && width < 12) ++width;
    }
    previous = code;
  }
  if (out.size() < pixels) throw FormatError("Unexpected end of GIF image data");
  return out;
}

}  // namespace vistrel
