#include "mail/attachment_encoder.h"

#include <gtest/gtest.h>

#include <random>

namespace vistrel {
namespace {

std::string Encoded(TEncodeMethod method, const std::string& input) {
  TAttachmentEncoder encoder;
  encoder.Method = method;
  std::string out;
  encoder.Encode(input, out);
  return out;
}

TEST(AttachmentEncoderTest, SmallExamples) {
  EXPECT_EQ(Encoded(uuMime, ""), "");
  EXPECT_EQ(Encoded(uuCode, ""), "`\r\n");
  EXPECT_EQ(Encoded(uuMime, "abc"), "YWJj\r\n");
  EXPECT_EQ(Encoded(uuCode, "abc"), "#86)C\r\n`\r\n");
  EXPECT_EQ(Encoded(uuMime, std::string(1, '\0')), "AA==\r\n");
  EXPECT_EQ(Encoded(uuCode, std::string(1, '\0')), "!``\r\n`\r\n");
  EXPECT_EQ(Encoded(uuMime, "ab"), "YWI=\r\n");
  EXPECT_EQ(Encoded(uuCode, "ab"), "\"86(\r\n`\r\n");
}

TEST(AttachmentEncoderTest, FortyFiveBytesMakeOneLine) {
  const std::string block(45, 'x');
  const std::string mime = Encoded(uuMime, block + "y");
  ASSERT_EQ(mime.find("\r\n"), 60u);
  EXPECT_EQ(mime.substr(62), "eQ==\r\n");
  const std::string uu = Encoded(uuCode, block);
  EXPECT_EQ(uu[0], 'M');
  EXPECT_EQ(uu.find("\r\n"), 61u);
  EXPECT_EQ(uu.substr(63), "`\r\n");
}

// Decoders written from the alphabets, independent of the encoder's loop.
std::string DecodeMime(const std::string& text) {
  static const std::string alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  unsigned bits = 0, count = 0;
  for (char c : text) {
    const auto v = alphabet.find(c);
    if (v == std::string::npos) continue;
    bits = (bits << 6) | unsigned(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += char((bits >> count) & 0xFF);
    }
  }
  return out;
}

std::string DecodeUu(const std::string& text, bool& closed) {
  std::string out;
  closed = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto end = text.find("\r\n", pos);
    const std::string line = text.substr(pos, end - pos);
    pos = end + 2;
    const int n = (line[0] - 32) & 63;
    if (n == 0) {
      closed = pos == text.size();
      break;
    }
    auto value = [&](std::size_t i) { return i < line.size() ? unsigned((line[i] - 32) & 63) : 0u; };
    for (int i = 0, j = 1; i < n; i += 3, j += 4) {
      const unsigned group = value(j) << 18 | value(j + 1) << 12 | value(j + 2) << 6 | value(j + 3);
      for (int k = 0; k < 3 && i + k < n; ++k) out += char((group >> (16 - 8 * k)) & 0xFF);
    }
  }
  return out;
}

TEST(AttachmentEncoderTest, RandomSizesRoundTripWithTheirLineLengths) {
  std::mt19937 random(20260);
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::size_t size : {1u, 2u, 3u, 14u, 44u, 45u, 46u, 89u, 90u, 91u, 1000u, 65537u}) {
    std::string data(size, '\0');
    for (char& c : data) c = char(byte(random));
    const std::string mime = Encoded(uuMime, data);
    EXPECT_EQ(DecodeMime(mime), data) << size;
    EXPECT_EQ(mime.size(), EncodedSize(uuMime, size));
    EXPECT_EQ(mime.find("\r\n"), size >= 45 ? 60u : (size + 2) / 3 * 4) << size;

    const std::string uu = Encoded(uuCode, data);
    bool closed = false;
    EXPECT_EQ(DecodeUu(uu, closed), data) << size;
    EXPECT_TRUE(closed) << size;
    EXPECT_EQ(uu.size(), EncodedSize(uuCode, size));
    for (char c : uu) EXPECT_TRUE(c == '\r' || c == '\n' || (c >= 33 && c <= 96)) << size;
  }
}

}  // namespace
}  // namespace vistrel
