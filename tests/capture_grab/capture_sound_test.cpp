#include <gtest/gtest.h>

#include <vector>

#include "platform/typewriter_sound.h"
#include "platform/wave_file.h"

namespace vistrel {
namespace {

TEST(TypewriterSound, IsAShortKeyStrikeOf8BitMono22050Hz) {
  const std::optional<TWaveFormat> wave = ParseWave(TypewriterWave());
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->channels, 1);
  EXPECT_EQ(wave->sample_rate, 22050);
  EXPECT_EQ(wave->bits_per_sample, 8);
  EXPECT_EQ(wave->samples.size(), 3149u);
  // Loud at the strike, near silence (128) at the end.
  int peak = 0;
  for (std::uint8_t s : wave->samples.first(200)) peak = std::max(peak, std::abs(s - 128));
  EXPECT_GT(peak, 60);
  for (std::uint8_t s : wave->samples.last(200)) EXPECT_LE(std::abs(s - 128), 2);
}

std::vector<std::uint8_t> Wave(std::uint16_t format_tag, std::uint16_t channels,
                               std::uint16_t bits, std::uint32_t data_size,
                               std::size_t data_present) {
  std::vector<std::uint8_t> f;
  auto put = [&f](const char* s) {
    for (int i = 0; i < 4; ++i) f.push_back(std::uint8_t(s[i]));
  };
  auto le = [&f](std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) f.push_back(std::uint8_t(v >> (8 * i)));
  };
  put("RIFF");
  le(36 + data_size, 4);
  put("WAVE");
  put("fmt ");
  le(16, 4);
  le(format_tag, 2);
  le(channels, 2);
  le(22050, 4);
  le(22050 * channels * bits / 8, 4);
  le(channels * bits / 8, 2);
  le(bits, 2);
  put("data");
  le(data_size, 4);
  f.insert(f.end(), data_present, 0x80);
  return f;
}

TEST(ParseWave, ReadsPcmAndKeepsWholeFramesOnly) {
  const auto mono = Wave(1, 1, 8, 10, 10);
  ASSERT_TRUE(ParseWave(mono));
  EXPECT_EQ(ParseWave(mono)->samples.size(), 10u);
  const auto stereo16 = Wave(1, 2, 16, 10, 10);
  ASSERT_TRUE(ParseWave(stereo16));
  EXPECT_EQ(ParseWave(stereo16)->samples.size(), 8u);
}

TEST(ParseWave, RefusesWhatItCannotPlaySafely) {
  EXPECT_FALSE(ParseWave({}));
  EXPECT_FALSE(ParseWave(Wave(2, 1, 8, 10, 10)));          // ADPCM
  EXPECT_FALSE(ParseWave(Wave(1, 0, 8, 10, 10)));          // no channels
  EXPECT_FALSE(ParseWave(Wave(1, 1, 12, 10, 10)));         // odd sample size
  EXPECT_FALSE(ParseWave(Wave(1, 1, 8, 0xFFFFFFF0u, 10))); // data runs past the end
  auto truncated = Wave(1, 1, 8, 10, 10);
  truncated.resize(30);
  EXPECT_FALSE(ParseWave(truncated));
}

}  // namespace
}  // namespace vistrel
