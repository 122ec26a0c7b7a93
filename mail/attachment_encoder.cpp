#include "mail/attachment_encoder.h"

#include <array>

namespace vistrel {

namespace {

constexpr std::size_t kBlock = 45;

constexpr char kMimeAlphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Value 0 is the grave accent, 1..63 are the characters 33..95.
constexpr std::array<char, 64> UuAlphabet() {
  std::array<char, 64> a{};
  a[0] = '`';
  for (int v = 1; v < 64; ++v) a[v] = char(32 + v);
  return a;
}
constexpr std::array<char, 64> kUuAlphabet = UuAlphabet();

}  // namespace

std::size_t EncodedSize(TEncodeMethod method, std::size_t input_size) {
  const std::size_t full = input_size / kBlock, rest = input_size % kBlock;
  if (method == uuMime) return full * 62 + (rest ? (rest + 2) / 3 * 4 + 2 : 0);
  // Length character, four characters a full group, two or three for the
  // unpadded remainder, then the closing grave-accent line.
  const std::size_t rest_chars = rest / 3 * 4 + (rest % 3 ? rest % 3 + 1 : 0);
  return full * 63 + (rest ? 1 + rest_chars + 2 : 0) + 3;
}

void TAttachmentEncoder::Encode(std::string_view input, std::string& output) const {
  const char* alphabet = Method == uuMime ? kMimeAlphabet : kUuAlphabet.data();
  const std::size_t start = output.size();
  output.resize(start + EncodedSize(Method, input.size()));
  char* out = output.data() + start;
  const auto* in = reinterpret_cast<const unsigned char*>(input.data());
  std::size_t left = input.size();
  while (left > 0) {
    const std::size_t n = left < kBlock ? left : kBlock;
    if (Method == uuCode) *out++ = alphabet[n];
    const unsigned char* end = in + n / 3 * 3;
    for (; in < end; in += 3) {
      out[0] = alphabet[in[0] >> 2];
      out[1] = alphabet[((in[0] << 4) & 0x3F) | (in[1] >> 4)];
      out[2] = alphabet[((in[1] << 2) & 0x3F) | (in[2] >> 6)];
      out[3] = alphabet[in[2] & 0x3F];
      out += 4;
    }
    if (n % 3 == 1) {
      *out++ = alphabet[in[0] >> 2];
      *out++ = alphabet[(in[0] << 4) & 0x30];
      if (Method == uuMime) *out++ = '=', *out++ = '=';
    } else if (n % 3 == 2) {
      *out++ = alphabet[in[0] >> 2];
      *out++ = alphabet[((in[0] << 4) & 0x3F) | (in[1] >> 4)];
      *out++ = alphabet[(in[1] << 2) & 0x3C];
      if (Method == uuMime) *out++ = '=';
    }
    in += n % 3;
    left -= n;
    *out++ = '\r', *out++ = '\n';
  }
  if (Method == uuCode) *out++ = alphabet[0], *out++ = '\r', *out++ = '\n';
}

}  // namespace vistrel
