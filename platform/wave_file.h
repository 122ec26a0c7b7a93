// Reads the header of a RIFF WAVE file holding PCM samples.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace vistrel {

struct TWaveFormat {
  int channels = 0;
  int sample_rate = 0;
  int bits_per_sample = 0;            // 8 (unsigned) or 16 (signed, little-endian)
  std::span<const std::uint8_t> samples;  // whole frames only
};

// Nothing for a file that is not PCM WAVE with 1 or 2 channels of 8 or 16
// bits, or whose chunks run past its end.
std::optional<TWaveFormat> ParseWave(std::span<const std::uint8_t> file);

}  // namespace vistrel
